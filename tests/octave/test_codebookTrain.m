function tests = test_codebookTrain()
  tests = localfunctions();
end

function data = sample_points(n, seed)
  randn('seed', seed);
  data = [randn(2, n) + [0; 0], randn(2, n) + [5; 1], randn(2, n) + [2; 6]];
end

function check_against_oracle(data, centerNum, what)
  [center, membership, distortion] = codebookTrain(data, centerNum);
  [c, m, d] = oracle_codebookTrain(data, centerNum);
  ck_assert_equal(center, c, [what ': center']);
  ck_assert_equal(membership, m, [what ': membership']);
  ck_assert_equal(distortion, d, [what ': distortion']);
end

function test_training_matches_the_literal_k_means()
  data = sample_points(30, 1);
  check_against_oracle(data, 3, 'count 3');
  check_against_oracle(data, 7, 'count 7');
  % The last centre is far from every vector: it keeps its place.
  check_against_oracle(data, [0 5 2 9; 0 1 6 -9], 'starting codebook');
  ck_assert_equal(codebookTrain(data, [0 5 2 9; 0 1 6 -9])(:, 4), [9; -9], 'centre without members');
  check_against_oracle(rand(5, 40), 4, 'dim 5');
end

function test_a_count_starts_from_the_first_columns_and_is_truncated()
  data = [0 1 5 9 2; 3 1 5 0 7];
  ck_assert_equal(codebookTrain(data, 3), codebookTrain(data, data(:, 1:3)), 'count 3');
  ck_assert_equal(codebookTrain(data, 2.9), codebookTrain(data, 2), 'count 2.9');
  ck_assert_equal(size(codebookTrain(data, 1)), [2 1], 'one centre');
  % With dim 1 a 1 x K row is a starting codebook; one element is a count.
  line = [0 1 2 10 11 12];
  ck_assert_equal(codebookTrain(line, [0 10]), [1 11], 'row codebook');
  ck_assert_equal(codebookTrain(line, 2), [1 11], 'count 2');
end

function test_membership_holds_one_one_per_column()
  data = sample_points(20, 2);
  [~, membership] = codebookTrain(data, 5);
  ck_assert_equal(size(membership), [5 60], 'size');
  ck_assert_equal(sum(membership == 1, 1), ones(1, 60), 'one 1 per column');
  ck_assert_equal(sum(membership ~= 0, 1), ones(1, 60), 'zeros elsewhere');
end

function test_distortion_has_a_row_per_pass()
  data = sample_points(25, 3);
  [~, ~, distortion] = codebookTrain(data, 3);
  p = numel(distortion);
  if p < 2 || p >= 100
    error('expected training to settle in 2..99 passes, got %d', p);
  end
  ck_assert_equal(size(distortion), [p 1], 'column');
  if ~(abs(distortion(p-1) - distortion(p)) / distortion(p-1) < eps)
    error('the last two passes differ by more than eps');
  end
  % As many centres as vectors: the distortion is 0 from the first pass on,
  % which never counts as settled, so all 100 passes run.
  [center, ~, distortion] = codebookTrain(data(:, 1:6), 6);
  ck_assert_equal(distortion, zeros(100, 1), 'never settles');
  ck_assert_equal(center, data(:, 1:6), 'centres on the vectors');
end

function test_extra_inputs_are_ignored_and_one_output_is_always_made()
  data = sample_points(5, 4);
  expected = codebookTrain(data, 2);
  ck_assert_equal(codebookTrain(data, 2, 0, 'ignored', {}), expected, 'extra inputs');
  codebookTrain(data, 2);
  ck_assert_equal(ans, expected, 'no output asked for');
end

function lines = progress_lines(distortion)
  lines = '';
  for i = 1:numel(distortion)
    lines = [lines sprintf('i = %d, distortion = %f\n', i - 1, distortion(i))];
  end
end

function test_plotOpt_1_prints_one_progress_line_per_pass()
  data = sample_points(10, 5);
  [~, ~, distortion] = codebookTrain(data, 3);
  expected = progress_lines(distortion);
  % Only the macOS build prints through the host's console, which evalc sees;
  % the Linux build writes to the process's standard output.
  captured = evalc('codebookTrain(data, 3, 1);');
  if strcmp(ck_flavor(), 'macos')
    ck_assert_equal(captured, expected, 'console text');
  else
    ck_assert_equal(captured, '', 'console text');
  end
  code = sprintf('data = %s; c = codebookTrain(data, 3, 1.7);', mat2str(data, 17));
  output = ck_process_output(code);
  ck_assert_equal(output, expected, 'process output');
  for quiet = {'', ', 0', ', 2', ', -1', ', 0.9'}
    code = sprintf('data = %s; c = codebookTrain(data, 3%s);', mat2str(data, 17), quiet{1});
    ck_assert_equal(ck_process_output(code), '', ['plotOpt' quiet{1}]);
  end
end

function test_usage_message_and_its_buffer()
  usage = "codebookTrain requires 2 or 3 input arguments.\nUsage: center = codebookTrain(data, centerNum, plotOpt)";
  ck_assert_error(@() codebookTrain(), usage);
  ck_assert_error(@() codebookTrain(ones(2, 3)), usage);
  name = ['cb' repmat('y', 1, namelengthmax() - 2)];
  cleanup = ck_renamed_plugin('codebookTrain', name);
  full = sprintf("%s requires 2 or 3 input arguments.\nUsage: center = %s(data, centerNum, plotOpt)", name, name);
  ck_assert_error(@() feval(name, 1), full(1:199));
end

function test_inputs_outside_the_limits_are_refused()
  notDouble = {'int32([1 2])', 'single([1 2])', 'true(1, 2)', '''ab''', '{1, 2}', ...
               'struct(''a'', {1, 2})', 'sparse([1 2])', '[1+2i 3]', '@sin'};
  notDoubleCount = {'int32(2)', 'single(2)', 'true', '''b''', '{2}', 'struct(''a'', 2)', ...
                    'sparse(2)', '2i', '@sin', 'int8([1 2; 3 4])'};
  cases = cell(0, 2);
  for k = 1:numel(notDouble)
    cases(end+1, :) = {sprintf('codebookTrain(%s, 1);', notDouble{k}), 'Input DATA must be a double real matrix.'};
  end
  for k = 1:numel(notDoubleCount)
    cases(end+1, :) = {sprintf('codebookTrain([1 2 3], %s);', notDoubleCount{k}), 'Input CENTERNUM must be a double real matrix.'};
  end
  cases = [cases; {
    'codebookTrain(zeros(0, 3), 1);', "Error: DATA (0 x 3) must have at least one row and one column!\n"
    'codebookTrain(zeros(2, 0), 1);', "Error: DATA (2 x 0) must have at least one row and one column!\n"
    'codebookTrain([], 1);', "Error: DATA (0 x 0) must have at least one row and one column!\n"
    'codebookTrain([1 2 3], 0);', "Error: centerNum (0) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], 0.5);', "Error: centerNum (0) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], -2);', "Error: centerNum (-2) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], 4);', "Error: centerNum (4) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], NaN);', "Error: centerNum (0) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], Inf);', "Error: centerNum (2147483647) must be between 1 and dataNum (3)!\n"
    'codebookTrain([1 2 3], 3.99);', []
    'codebookTrain(ones(2, 5), ones(3, 2));', "Error: The starting codebook (3 x 2) must have dim (2) rows and at least one column!\n"
    'codebookTrain(ones(2, 5), ones(1, 4));', "Error: The starting codebook (1 x 4) must have dim (2) rows and at least one column!\n"
    'codebookTrain(ones(2, 5), zeros(2, 0));', "Error: The starting codebook (2 x 0) must have dim (2) rows and at least one column!\n"
    'codebookTrain(ones(2, 5), []);', "Error: The starting codebook (0 x 0) must have dim (2) rows and at least one column!\n"
    'codebookTrain(ones(2, 5), ones(2, 9));', []
    'codebookTrain(ones(2, 5), ones(2, 2, 2));', []
    'codebookTrain([1 2 3], 2, ''a'');', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, [1 1]);', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, []);', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, {1});', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, struct());', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, @sin);', 'Input PLOTOPT must be a numeric scalar.'
    'codebookTrain([1 2 3], 2, int8(0));', []
    'codebookTrain([1 2 3], 2, false);', []
    'codebookTrain([1 2 3], 2, sparse(0));', []
    'codebookTrain([1 NaN 3], 2);', []
    'codebookTrain([1 Inf -Inf], 3);', []
    '[a, b] = codebookTrain(zeros(1, 3e6), zeros(1, 3e6));', 'Output too large for this machine.'
    '[a, b, c, d] = codebookTrain([1 2 3], 2);', '*'
  }];
  ck_expect_isolated(cases);
end
