function check_octave_package(tarball, prefix, version)
% Installs the Octave package into the empty folder PREFIX as a user would,
% and checks it: version, help and self-tests of every plug-in from the
% installed files, exports, an error identifier, the demo, and that
% pkg uninstall leaves nothing behind. Any failure is an error.
shareFolder = fullfile(prefix, 'share');
archFolder = fullfile(prefix, 'arch');
pkg('prefix', shareFolder, archFolder);
pkg('local_list', fullfile(prefix, 'octave_packages'));
pkg('install', tarball);
pkg('load', 'clusterkit');

[~, installed] = pkg('list');
names = cellfun(@(p) p.name, installed, 'UniformOutput', false);
entry = installed{strcmp(names, 'clusterkit')};
ck_require(strcmp(entry.version, version), 'pkg list shows version %s, not %s', entry.version, version);
info = ver('clusterkit');
ck_require(strcmp(info.Version, version), 'ver shows version %s, not %s', info.Version, version);
ck_require(strcmp(clusterkitVersion(), version), 'clusterkitVersion gives %s', clusterkitVersion());

plugins = {'neighborQuery', 'pairDistance', 'codebookTrain', 'mixtureScore', ...
           'mixtureScoreSingle', 'logSumReduce', 'rlsFit', 'gradientHistogram'};
for k = 1:numel(plugins)
  name = plugins{k};
  file = which(name);
  ck_require(strncmp(file, archFolder, numel(archFolder)) && ~isempty(regexp(file, '\.mex$', 'once')), ...
          '%s is not the installed plug-in: %s', name, file);
  helpText = evalc(sprintf('help %s', name));
  ck_require(~isempty(strfind(helpText, [name '  '])), 'help %s does not show its help:\n%s', name, helpText);
  expect_only_entry_points(file);
end
ck_require(clusterkitSelfTest(), 'the self-tests failed');
% An error of the installed plug-ins keeps its text and carries its identifier.
try
  rlsFit(1, 1, -1);
  ck_require(false, 'rlsFit(1, 1, -1) did not fail');
catch err
  ck_require(~isempty(strfind(err.message, 'Error: order (-1) must not be negative!')) && ...
             strcmp(err.identifier, 'clusterkit:rlsFit:invalidInput'), ...
             'rlsFit error "%s", identifier "%s"', err.message, err.identifier);
end

figureFolder = fullfile(prefix, 'figures');
clusterkitDemo(figureFolder);
figures = dir(fullfile(figureFolder, '*.png'));
ck_require(numel(figures) == 5, 'the demo saved %d figures, not 5', numel(figures));
confirm_recursive_rmdir(false, 'local');
rmdir(figureFolder, 's');

pkg('unload', 'clusterkit');
pkg('uninstall', 'clusterkit');
left = [listFiles(shareFolder), listFiles(archFolder)];
ck_require(isempty(left), 'pkg uninstall left behind:\n%s', strjoin(left, '\n'));
fprintf('clusterkit %s: package installed, checked and uninstalled\n', version);
end

function files = listFiles(folder)
files = {};
if ~exist(folder, 'dir')
  return;
end
entries = dir(folder);
for k = 1:numel(entries)
  name = entries(k).name;
  if any(strcmp(name, {'.', '..'}))
    continue;
  end
  path = fullfile(folder, name);
  if entries(k).isdir
    files = [files, listFiles(path)]; %#ok<AGROW>
  else
    files{end + 1} = path; %#ok<AGROW>
  end
end
end
