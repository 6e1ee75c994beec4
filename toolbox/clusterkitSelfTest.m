function allPassed = clusterkitSelfTest()
% clusterkitSelfTest  Runs the self-tests of every clusterkit plug-in (Octave).
%
%   clusterkitSelfTest        runs them, prints a summary, and raises the
%                             error clusterkit:selfTest:failed if one fails
%   ok = clusterkitSelfTest   returns true when all passed, without the error
%
%   Each plug-in's help file holds a few tests (%! blocks): values on a small
%   case, and one error with its message and identifier. One plug-in's tests
%   run with "test <name>", e.g. test neighborQuery. The tests need Octave's
%   test function; MATLAB does not run them.
%
%   See also clusterkitVersion.
% Each plug-in's tests are in its help file, beside the plug-in. The other
% mixtureScore variant has one of two names, by platform.
plugins = {'neighborQuery', 'pairDistance', 'codebookTrain', 'mixtureScore', ...
           'mixtureScoreSingle', 'mixtureScoreMixture', 'logSumReduce', 'rlsFit', ...
           'gradientHistogram'};
passedCount = 0;
testCount = 0;
failedNames = {};
for k = 1:numel(plugins)
  name = plugins{k};
  if exist(name) ~= 3 %#ok<EXIST> not built under this name
    continue;
  end
  [passed, total] = test(name, 'quiet', stdout);
  fprintf('%-20s %d of %d tests passed\n', name, passed, total);
  passedCount = passedCount + passed;
  testCount = testCount + total;
  if passed < total || total == 0
    failedNames{end + 1} = name; %#ok<AGROW>
  end
end
fprintf('clusterkit %s: %d of %d self-tests passed\n', clusterkitVersion(), passedCount, testCount);
if nargout > 0
  allPassed = isempty(failedNames);
elseif ~isempty(failedNames)
  error('clusterkit:selfTest:failed', 'Self-tests failed for: %s', strjoin(failedNames, ', '));
end
end
