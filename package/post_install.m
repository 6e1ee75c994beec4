function post_install(desc)
% Moves each plug-in's help file from the package folder into the folder of
% its .mex file: Octave finds the help (and the %! self-tests) of a compiled
% function only in a .m file of the same folder, and pkg puts .m files and
% .mex files into different folders.
archFolder = fullfile(desc.archprefix, [__octave_config_info__('canonical_host_type'), '-', ...
                                        __octave_config_info__('api_version')]);
plugins = dir(fullfile(archFolder, '*.mex'));
for k = 1:numel(plugins)
  [~, name] = fileparts(plugins(k).name);
  helpFile = fullfile(desc.dir, [name '.m']);
  if exist(helpFile, 'file')
    [moved, message] = movefile(helpFile, archFolder);
    if ~moved
      error('clusterkit:install:helpFile', 'Cannot move %s: %s', helpFile, message);
    end
  end
end
end
