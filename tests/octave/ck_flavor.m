function flavor = ck_flavor()
% ck_flavor  Platform flavour of the plug-ins under test: 'linux' or 'macos'.
  flavor = getenv('CLUSTERKIT_FLAVOR');
  if isempty(flavor)
    flavor = 'linux';
  end
end
