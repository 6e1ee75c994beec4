function clusterkitDemo(figureFolder)
% clusterkitDemo  A tour of the clusterkit plug-ins on generated data.
%
%   clusterkitDemo            saves the figures in ./clusterkit-demo-figures
%   clusterkitDemo(folder)    saves the figures in folder (created if needed)
%
% Runs every demo_*.m script in name order in one workspace; each shows one
% plug-in at work, prints what it found and may draw figures, which are saved
% as PNG files (the folder is named at the end) and closed. The plug-ins must
% be on the path. Runs in Octave (also without a display) and in MATLAB.
if nargin < 1
  figureFolder = fullfile(pwd, 'clusterkit-demo-figures');
end
if isOctave()
  % Without a display gnuplot is Octave's only toolkit: it draws well enough
  % for PNG files, and its warning would only distract here.
  warning('off', 'Octave:gnuplot-graphics');
end
if ~exist(figureFolder, 'dir')
  mkdir(figureFolder);
end
demoFolder = fileparts(mfilename('fullpath'));
if isempty(dir(fullfile(demoFolder, 'demo_*.m')))
  demoFolder = fullfile(demoFolder, 'demo'); % the installed package's layout
end
demoFiles = dir(fullfile(demoFolder, 'demo_*.m'));
savedFigures = {};
for demoIndex = 1:numel(demoFiles)
  [~, demoName] = fileparts(demoFiles(demoIndex).name);
  fprintf('\n==== %s ====\n', demoName);
  run(fullfile(demoFolder, demoFiles(demoIndex).name));
  savedFigures = [savedFigures, saveDemoFigures(figureFolder)]; %#ok<AGROW>
end
fprintf('\n%d figures saved in %s:\n', numel(savedFigures), figureFolder);
fprintf('  %s\n', savedFigures{:});
end

% Saves every figure a demo script drew (tagged 'clusterkitDemo') as
% <figure name>.png, closes it, and returns the file names.
function names = saveDemoFigures(folder)
figures = findall(0, 'type', 'figure', 'tag', 'clusterkitDemo');
names = cell(1, numel(figures));
for k = 1:numel(figures)
  names{k} = [get(figures(k), 'Name') '.png'];
  print(figures(k), '-dpng', '-r90', fullfile(folder, names{k}));
  close(figures(k));
end
names = sort(names);
end

function yes = isOctave()
yes = exist('OCTAVE_VERSION', 'builtin') ~= 0;
end
