function ck_memory_rounds(cases, resultFile, rounds, iterations)
% ck_memory_rounds  For each row {name, goodCall, failingCall} of CASES (calls
% as code), runs ROUNDS rounds of ITERATIONS times the good call and the
% failing call, and appends "name round residentKB" to RESULTFILE after each
% round. Meant for a child host whose standard output is dropped.
  fid = fopen(resultFile, 'w');
  for k = 1:size(cases, 1)
    good = str2func(['@() ' cases{k, 2}]);
    failing = str2func(['@() ' cases{k, 3}]);
    try
      failing();
      error('ck:memory', '%s: the failing call succeeded', cases{k, 3});
    catch err
      if strcmp(err.identifier, 'ck:memory')
        rethrow(err);
      end
    end
    for round = 1:rounds
      for i = 1:iterations
        good();
        try
          failing();
        catch
        end
      end
      fprintf(fid, '%s %d %d\n', cases{k, 1}, round, resident_kb());
      fflush(fid);
    end
  end
  fclose(fid);
end

function kb = resident_kb()
  status = fileread('/proc/self/status');
  kb = str2double(regexp(status, 'VmRSS:\s*(\d+)', 'tokens', 'once'){1});
end
