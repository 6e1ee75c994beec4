function tests = test_leaks()
% Memory of one host across many calls of every plug-in, a sound call and a
% failing one in turn: after a warm-up round, the resident memory must level
% off. A plug-in that loses a few dozen bytes per call grows by a hundred
% kilobytes or more in every round. The calls run in a child octave-cli whose
% standard output is dropped (some variants print their model on each call).
  tests = localfunctions();
end

function test_resident_memory_levels_off_over_many_calls()
  rounds = 4;          % the first is the warm-up
  iterations = 1500;
  % Growth in every round after the warm-up, each by at least this much,
  % is a leak: about 16 bytes per call. A one-off growth (a cache, the
  % allocator taking a new arena) shows in one round only.
  leakKbPerRound = 48;
  rows = run_child(plugin_calls(), rounds, iterations);
  problems = {};
  for name = unique(rows(:, 1))'
    kb = cell2mat(rows(strcmp(rows(:, 1), name{1}), 3));
    if numel(kb) ~= rounds
      problems{end+1} = sprintf('%s: %d of %d rounds ran', name{1}, numel(kb), rounds);
    elseif all(diff(kb) >= leakKbPerRound)
      problems{end+1} = sprintf('%s: resident memory grew in every round, %s KB', name{1}, ...
                                mat2str(kb'));
    end
  end
  if ~isempty(problems)
    error('%s', strjoin(problems, "\n"));
  end
end

% {name, sound call, failing call}; the failing calls get past the first
% checks where they can, so that they fail after the plug-in has read or
% made something.
function cases = plugin_calls()
  model = 'struct(''mu'', {[0; 0], [1; 1]}, ''sigma'', {1, 2}, ''w'', {0.5, 0.5})';
  badModel = 'struct(''mu'', [0; 0], ''sigma'', [1 2 3], ''w'', 1)';
  cases = {
    'neighborQuery', 'neighborQuery(magic(4), magic(4)(:, 1:3), 2, 2)', 'neighborQuery(magic(4), int8(1))';
    'pairDistance', 'pairDistance(magic(4), magic(4))', 'pairDistance(magic(4), magic(3))';
    'logSumReduce', 'logSumReduce(magic(4))', 'logSumReduce({1})';
    'codebookTrain', 'codebookTrain([1 2 3 4 5 6; 6 5 4 3 2 1], 2, 0)', 'codebookTrain([1 2; 3 4], 5, 0)';
    'rlsFit', 'rlsFit([1 2 3 4], [2 4 6 9], 2)', 'rlsFit([1 2 3], ''a'', 2)';
    'gradientHistogram', 'gradientHistogram(magic(16), [9 8 2 0 0.2])', 'gradientHistogram(int8(magic(16)), [9 8 2 0 0.2])'};
  for variant = {'mixtureScore', 'mixtureScoreSingle', 'mixtureScoreMixture'}
    cases(end+1, :) = {variant{1}, sprintf('%s([1; 2], %s)', variant{1}, model), ...
                       sprintf('%s([1; 2], %s)', variant{1}, badModel)};
  end
  present = cellfun(@(name) exist(name) == 3, cases(:, 1));
  cases = cases(present, :);
end

function rows = run_child(cases, rounds, iterations)
  resultFile = [tempname() '.txt'];
  script = [tempname() '.m'];
  fid = fopen(script, 'w');
  fprintf(fid, 'addpath(''%s'');\naddpath(''%s'');\n', getenv('CLUSTERKIT_MEX_DIR'), ...
          fileparts(mfilename('fullpath')));
  fprintf(fid, 'cases = {\n');
  for k = 1:size(cases, 1)
    fprintf(fid, '  %s\n', strjoin(cellfun(@quoted, cases(k, :), 'UniformOutput', false), ', '));
  end
  fprintf(fid, '};\nck_memory_rounds(cases, ''%s'', %d, %d);\n', resultFile, rounds, iterations);
  fclose(fid);
  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
  [status, output] = system(sprintf('timeout 600 "%s" --no-history --no-gui --norc --quiet "%s" 2>&1 >/dev/null', ...
                                    octave, script));
  delete(script);
  text = '';
  if exist(resultFile, 'file')
    text = fileread(resultFile);
    delete(resultFile);
  end
  if status ~= 0
    error('child octave-cli ended with status %d: %s', status, output);
  end
  parts = regexp(strtrim(text), '(\S+) (\d+) (\d+)', 'tokens');
  rows = cell(numel(parts), 3);
  for k = 1:numel(parts)
    rows(k, :) = {parts{k}{1}, str2double(parts{k}{2}), str2double(parts{k}{3})};
  end
end

function text = quoted(code)
  text = ['''' strrep(code, '''', '''''') ''''];
end
