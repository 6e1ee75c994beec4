function ck_run_file(name)
% ck_run_file  Runs the test file NAME: a function returning localfunctions(),
% whose local functions named test_* are the cases. Prints one line per case
% and a closing "N passed, M failed" line; exits with status 1 on failure.
  addpath(getenv('CLUSTERKIT_MEX_DIR'));
  if ~isempty(getenv('CLUSTERKIT_TEST_MEX_DIR'))
    addpath(getenv('CLUSTERKIT_TEST_MEX_DIR'));
  end
  handles = feval(name);
  passed = 0;
  failed = 0;
  for k = 1:numel(handles)
    caseName = func2str(handles{k});
    if strncmp(caseName, 'test_', 5) == 0
      continue;
    end
    try
      handles{k}();
      passed = passed + 1;
      printf('PASS %s\n', caseName);
    catch err
      failed = failed + 1;
      printf('FAIL %s: %s\n', caseName, err.message);
      for s = 1:numel(err.stack)
        printf('    at %s line %d\n', err.stack(s).name, err.stack(s).line);
      end
    end
    fflush(stdout);
  end
  printf('%s (%s): %d passed, %d failed\n', name, ck_flavor(), passed, failed);
  if failed > 0 || passed == 0
    exit(1);
  end
end
