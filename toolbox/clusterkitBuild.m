function outputFolder = clusterkitBuild(outputFolder, sourceFolder)
% clusterkitBuild  Compiles the clusterkit plug-ins with this host's mex command.
%
%   clusterkitBuild                     builds into ./clusterkit-mex
%   clusterkitBuild(outputFolder)       builds into outputFolder
%   clusterkitBuild(outputFolder, src)  takes the sources from src
%   folder = clusterkitBuild(...)       returns the folder of the plug-ins
%
%   For MATLAB and Octave users without CMake. Compiles the library once and
%   links it into every plug-in, with the flags of the CMake build: C++17,
%   no contraction into fused multiply-adds, never fast-math, and only the
%   host's entry points exported. Each plug-in gets its help file beside it,
%   together with clusterkitVersion and clusterkitSelfTest. Afterwards
%     addpath(outputFolder)
%   makes the plug-ins callable; the folder is printed at the end.
%
%   The sources are found beside this file: in the source tree it lies in
%   toolbox/, in the installed Octave package the sources lie in source/.
%   The flavour follows the platform: on macOS the library's console text
%   goes to the command window and mixtureScore is the single-Gaussian
%   variant (the mixture ships as mixtureScoreMixture); elsewhere the
%   clusterkit unit prints to standard output and mixtureScore is the
%   mixture (the single Gaussian ships as mixtureScoreSingle).
%
%   Needs a C++17 compiler set up for mex (MATLAB: "mex -setup C++").
%
%   See also clusterkitVersion, clusterkitSelfTest.
if nargin < 1 || isempty(outputFolder)
  outputFolder = fullfile(pwd, 'clusterkit-mex');
end
if nargin < 2 || isempty(sourceFolder)
  sourceFolder = findSources(fileparts(mfilename('fullpath')));
end
outputFolder = absolutePath(outputFolder);
build = buildSettings(sourceFolder, outputFolder);
mkdir(build.objectFolder);
removeObjects = onCleanup(@() removeFolder(build.objectFolder)); %#ok<NASGU>
restoreFlags = keepCompilerFlags(build); %#ok<NASGU> restores them when cleared

libraryObjects = [compileFolder(build, fullfile('lib', 'utility')), ...
                  compileFolder(build, fullfile('lib', 'clusterkit'))];
commonSources = listSources(fullfile(sourceFolder, 'mex', 'common'));
if ~build.apiVersionExport
  commonSources = commonSources(~strcmp(commonSources, 'api_version.cpp'));
end
commonObjects = compileSources(build, fullfile('mex', 'common'), commonSources, 'default');
sharedObjects = [commonObjects, libraryObjects];

plugins = listPlugins(sourceFolder);
built = {};
for k = 1:numel(plugins)
  built = [built, buildPlugin(build, plugins{k}, sharedObjects)]; %#ok<AGROW>
end
writeVersionFunction(build);
copyfile(fullfile(sourceFolder, 'toolbox', 'clusterkitSelfTest.m'), outputFolder);
fprintf('clusterkit %s: %d plug-ins built in %s\n  %s\n', build.version, numel(built), ...
        outputFolder, strjoin(sort(built), ' '));
fprintf('Add them to the path with:\n  addpath(''%s'')\n', outputFolder);
if nargout == 0
  clear outputFolder;
end
end

% The source tree: the folder that holds lib/ and mex/.
function folder = findSources(here)
candidates = {fullfile(here, 'source'), fileparts(here)};
for k = 1:numel(candidates)
  if exist(fullfile(candidates{k}, 'lib', 'utility'), 'dir') && ...
     exist(fullfile(candidates{k}, 'mex', 'common'), 'dir')
    folder = candidates{k};
    return;
  end
end
error('clusterkit:build:noSources', 'The clusterkit sources are not beside %s.', here);
end

function path = absolutePath(path)
if ~exist(path, 'dir')
  mkdir(path);
end
previous = cd(path);
path = pwd;
cd(previous);
end

% Everything that depends on the host, the platform and the sources.
function build = buildSettings(sourceFolder, outputFolder)
build.source = sourceFolder;
build.output = outputFolder;
build.objectFolder = tempname();
build.isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
build.macos = ismac();
build.version = strtrim(fileread(fullfile(sourceFolder, 'VERSION')));
% The flavour define goes with the library into every source that includes it.
build.includeFlags = {sprintf('-DCLUSTERKIT_MACOS_FLAVOR=%d', build.macos), ...
                      ['-I' fullfile(sourceFolder, 'lib', 'utility')], ...
                      ['-I' fullfile(sourceFolder, 'lib', 'clusterkit')], ...
                      ['-I' fullfile(sourceFolder, 'mex', 'common')]};
if ispc() && ~build.isOctave
  build.objectExtension = '.obj';
else
  build.objectExtension = '.o';
end
% The macOS flavour declares the host interface version. MATLAB's mex adds
% that export to every plug-in itself, so the sources' own copy is left out.
build.apiVersionExport = build.macos && build.isOctave;
build.hostFlags = {};
build.linkFlags = {};
if build.isOctave
  if ~build.macos && ~ispc()
    % GNU linker: a version script keeps everything but the entry points local.
    build.linkFlags = {['-Wl,--version-script=' fullfile(sourceFolder, 'cmake', 'mex_exports.map')]};
  end
else
  % MATLAB: the separate-complex array interface the gateways are written
  % for; mex exports only the entry points on every platform by itself.
  build.hostFlags = {'-R2017b', '-silent'};
  if ispc()
    build.hostFlags{end + 1} = 'COMPFLAGS=$COMPFLAGS /std:c++17 /fp:precise';
  else
    build.hostFlags{end + 1} = 'CXXFLAGS=$CXXFLAGS -std=c++17 -ffp-contract=off -fno-fast-math';
    build.hostFlags{end + 1} = 'CXXOPTIMFLAGS=-O2 -DNDEBUG';
  end
end
end

% Octave's mex takes its compiler flags from the environment (see
% setCompilerFlags); they are put back when the returned object is cleared.
function restore = keepCompilerFlags(build)
restore = [];
if build.isOctave
  previous = getenv('CXXFLAGS');
  restore = onCleanup(@() setenv('CXXFLAGS', previous));
end
end

% Library and algorithm code get hidden symbols; the gateways keep the
% default visibility ('default'), since the host's header declares
% mexFunction without a visibility attribute and the export map decides what
% leaves the file. MATLAB's mex exports only the entry points by itself.
function setCompilerFlags(build, visibility)
if build.isOctave
  flags = '-std=c++17 -O2 -DNDEBUG -ffp-contract=off -fno-fast-math -Wno-unused-result';
  if strcmp(visibility, 'hidden')
    flags = [flags ' -fvisibility=hidden -fvisibility-inlines-hidden'];
  end
  setenv('CXXFLAGS', flags);
end
end

function names = listSources(folder)
files = dir(fullfile(folder, '*.cpp'));
names = sort({files.name});
end

function objects = compileFolder(build, relativeFolder)
objects = compileSources(build, relativeFolder, listSources(fullfile(build.source, relativeFolder)), ...
                         'hidden');
end

% Compiles each source of relativeFolder into its own object, in a folder
% of objects per source folder (so that equal file names cannot collide).
function objects = compileSources(build, relativeFolder, names, visibility)
setCompilerFlags(build, visibility);
objectFolder = fullfile(build.objectFolder, strrep(relativeFolder, filesep, '_'));
if ~exist(objectFolder, 'dir')
  mkdir(objectFolder);
end
objects = cell(1, numel(names));
for k = 1:numel(names)
  [~, stem] = fileparts(names{k});
  objects{k} = fullfile(objectFolder, [stem build.objectExtension]);
  source = fullfile(build.source, relativeFolder, names{k});
  mexArguments = [build.hostFlags, build.includeFlags, {['-I' fullfile(build.source, relativeFolder)]}, ...
               {'-c', source}];
  if build.isOctave
    mex(mexArguments{:}, '-o', objects{k});
  else
    mex(mexArguments{:}, '-outdir', objectFolder);
  end
end
end

% Plug-in folders: every folder of mex/ but common.
function plugins = listPlugins(sourceFolder)
entries = dir(fullfile(sourceFolder, 'mex'));
entries = entries([entries.isdir]);
plugins = setdiff({entries.name}, {'.', '..', 'common'});
end

% Builds one plug-in folder: its gateway (or, for mixtureScore, the gateway
% of each variant) linked with its algorithm code and the shared objects.
function built = buildPlugin(build, plugin, sharedObjects)
folder = fullfile('mex', plugin);
sources = listSources(fullfile(build.source, folder));
isGateway = strcmp(sources, [plugin '.cpp']) | strncmp(sources, [plugin '_'], numel(plugin) + 1);
codeObjects = compileSources(build, folder, sources(~isGateway), 'hidden');
if strcmp(plugin, 'mixtureScore')
  built = buildMixtureVariants(build, [codeObjects, sharedObjects]);
  return;
end
links = [codeObjects, sharedObjects];
if build.apiVersionExport && strcmp(plugin, 'gradientHistogram')
  links = links(cellfun(@isempty, strfind(links, 'api_version'))); % declares no version
end
linkPlugin(build, plugin, {fullfile(build.source, folder, [plugin '.cpp'])}, links);
copyfile(fullfile(build.source, folder, [plugin '.m']), build.output);
built = {plugin};
end

% mixtureScore's two gateways share the model reader and the algorithm code;
% the platform's variant ships as mixtureScore, the other under its own name.
function built = buildMixtureVariants(build, links)
folder = fullfile(build.source, 'mex', 'mixtureScore');
variants = {'mixture', 'mixtureScoreMixture'; 'single', 'mixtureScoreSingle'};
shipped = 'mixture';
if build.macos
  shipped = 'single';
end
built = cell(1, 2);
for k = 1:2
  name = variants{k, 2};
  if strcmp(variants{k, 1}, shipped)
    name = 'mixtureScore';
  end
  linkPlugin(build, name, {fullfile(folder, ['mixtureScore_' variants{k, 1} '.cpp']), ...
                           fullfile(folder, 'mixtureScore_modelFields.cpp')}, links);
  helpText = fileread(fullfile(folder, ['help_' variants{k, 1} '.m.in']));
  writeText(fullfile(build.output, [name '.m']), strrep(helpText, '@PLUGIN_NAME@', name));
  built{k} = name;
end
end

function linkPlugin(build, name, sources, objects)
setCompilerFlags(build, 'default');
mexArguments = [build.hostFlags, build.includeFlags, {['-I' fileparts(sources{1})]}, sources, objects, ...
             build.linkFlags];
if build.isOctave
  mex(mexArguments{:}, '-o', fullfile(build.output, [name '.mex']));
else
  mex(mexArguments{:}, '-output', name, '-outdir', build.output);
end
end

function removeFolder(folder)
if exist('OCTAVE_VERSION', 'builtin')
  confirm_recursive_rmdir(false, 'local');
end
if exist(folder, 'dir')
  rmdir(folder, 's');
end
end

function writeVersionFunction(build)
template = fileread(fullfile(build.source, 'toolbox', 'clusterkitVersion.m.in'));
writeText(fullfile(build.output, 'clusterkitVersion.m'), ...
          strrep(template, '@CLUSTERKIT_VERSION@', build.version));
end

function writeText(path, text)
file = fopen(path, 'w');
if file < 0
  error('clusterkit:build:cannotWrite', 'Cannot write %s.', path);
end
fwrite(file, text);
fclose(file);
end
