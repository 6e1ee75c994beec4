% clusterkitDemo  A tour of the clusterkit plug-ins on generated data.
%
% Runs every demo_*.m script in this folder in name order; each shows one
% plug-in at work. Run from the prompt with the plug-in folder on the path:
%   addpath('build/mex'); cd demo; clusterkitDemo
demoFolder = fileparts(mfilename('fullpath'));
demoFiles = dir(fullfile(demoFolder, 'demo_*.m'));
for demoIndex = 1:numel(demoFiles)
  [~, demoName] = fileparts(demoFiles(demoIndex).name);
  printf('\n==== %s ====\n', demoName);
  run(fullfile(demoFolder, demoFiles(demoIndex).name));
end
