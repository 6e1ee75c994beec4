function tests = test_logSumReduce()
  tests = localfunctions();
end

function test_argument_counts()
  inputs = 'VECDIST requires one or two input arguments.';
  outputs = 'VECDIST requires one output argument.';
  ck_assert_error(@() logSumReduce(), inputs);
  ck_assert_error(@() logSumReduce(1, 2, 3), inputs);
  ck_assert_error(@() two_outputs(1), outputs);
  ck_assert_error(@() two_outputs(1, 2), outputs);
  % The input count is tested first.
  ck_assert_error(@() two_outputs(1, 2, 3), inputs);
end

function test_values_match_the_literal_sum()
  ck_assert_equal(logSumReduce(-3.25), -3.25, 'scalar');
  ck_assert_equal(logSumReduce([0 0]), log(2), '[0 0]');
  ck_assert_equal(logSumReduce(zeros(1, 1000)), oracle_logSumReduce(zeros(1, 1000)), 'zeros');
  assert(abs(logSumReduce(zeros(1, 1000)) - log(1000)) < 1e-9);
  randn('seed', 3);
  values = 20 * randn(37, 29);
  ck_assert_equal(logSumReduce(values), oracle_logSumReduce(values), 'random matrix');
  % The second input is accepted and never read.
  ck_assert_equal(logSumReduce(values, {'anything'}), oracle_logSumReduce(values), 'two inputs');
end

function test_storage_order_and_shape()
  values = [1 -4 2.5; 0.5 7 -1];
  ck_assert_equal(logSumReduce(values), logSumReduce(values(:)), '2x3 vs 6x1');
  ck_assert_equal(logSumReduce(values), oracle_logSumReduce(values(:)'), 'storage order');
  cube = reshape(1:24, 2, 3, 4) / 7;
  ck_assert_equal(logSumReduce(cube), oracle_logSumReduce(cube(:)'), 'three dimensions');
end

function test_infinities_and_nan()
  ck_assert_equal(logSumReduce([-Inf -Inf 3]), NaN, 'two -Inf first');
  ck_assert_equal(logSumReduce([3 -Inf 2]), oracle_logSumReduce([3 2]), 'one -Inf after a finite value');
  ck_assert_equal(logSumReduce([-Inf 3]), 3, '-Inf then 3');
  ck_assert_equal(logSumReduce([1 NaN 2]), NaN, 'NaN');
  ck_assert_equal(logSumReduce([Inf 1]), Inf, '+Inf');
end

function test_empty_input_is_the_log_of_an_empty_sum()
  ck_assert_equal(logSumReduce([]), -Inf, '0x0');
  ck_assert_equal(logSumReduce(zeros(3, 0)), -Inf, '3x0');
end

function test_result_without_output_argument()
  logSumReduce([0 0]);
  ck_assert_equal(ans, log(2), 'ans');
end

function test_inputs_that_are_not_real_double_are_refused()
  refused = 'Input X must be a double real matrix.';
  ck_expect_isolated({
    'logSumReduce(int32([1 2]))',       refused;
    'logSumReduce(single([1 2]))',      refused;
    'logSumReduce([1+2i 3])',           refused;
    'logSumReduce(sparse([0 1 0 2]))',  refused;
    'logSumReduce(true(2))',            refused;
    'logSumReduce(''ab'')',             refused;
    'logSumReduce({1, 2})',             refused;
    'logSumReduce(struct(''a'', 1))',   refused;
    'logSumReduce(@sin)',               refused;
    'logSumReduce(ones(2, 2, 2))',      [];
  });
end

function two_outputs(varargin)
  [a, b] = logSumReduce(varargin{:});
end
