function check_host_build(outputFolder, version)
% Runs clusterkitBuild (already on the path, in a copy of the sources) into
% OUTPUT_FOLDER and checks what it built: every plug-in with its help file,
% only the entry points exported, clusterkitVersion, and the self-tests.
folder = clusterkitBuild(outputFolder);
addpath(folder);
ck_require(strcmp(clusterkitVersion(), version), 'clusterkitVersion gives %s', clusterkitVersion());
plugins = {'neighborQuery', 'pairDistance', 'codebookTrain', 'mixtureScore', ...
           'mixtureScoreSingle', 'logSumReduce', 'rlsFit', 'gradientHistogram'};
for k = 1:numel(plugins)
  file = which(plugins{k});
  ck_require(strcmp(file, fullfile(folder, [plugins{k} '.mex'])), '%s is not the one built: %s', ...
          plugins{k}, file);
  ck_require(exist(fullfile(folder, [plugins{k} '.m']), 'file') == 2, 'no help file for %s', plugins{k});
  expect_only_entry_points(file);
end
leftovers = dir(fullfile(folder, '*.o'));
ck_require(isempty(leftovers), 'object files left in %s', folder);
ck_require(clusterkitSelfTest(), 'the self-tests failed');
fprintf('clusterkitBuild: %d plug-ins built and checked in %s\n', numel(plugins), folder);
end
