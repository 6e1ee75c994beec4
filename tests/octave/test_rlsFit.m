function tests = test_rlsFit
  tests = localfunctions();
end

function fresh()
  clear rlsFit oracle_rlsFit
end

function test_matches_the_literal_oracle_bit_for_bit_across_calls
  fresh();
  randn('seed', 5);
  rand('seed', 5);
  x = randn(2, 10);              % any shape: 20 points in column-major order
  y = [3 * rand(1, 20) - 1, 7];  % longer than x: the extra element is unused
  x(3) = 0;
  for order = [2 2 0 3 3 1]      % a change of order starts afresh
    ck_assert_equal(rlsFit(x, y, order), oracle_rlsFit(x, y, order), sprintf('order %d', order));
  end
  ck_assert_equal(rlsFit(x, y', 3.9), oracle_rlsFit(x, y', 3), 'truncated order');
end

function test_consecutive_calls_continue_one_estimation_until_clear
  fresh();
  x = linspace(-2, 2, 30);
  y = x .^ 2 - x + 0.5 * sin(7 * x);
  first = rlsFit(x, y, 2);
  second = rlsFit(x, y, 2);
  clear rlsFit
  ck_assert_equal(rlsFit([x x], [y y], 2), second, 'second call = data taken twice');
  clear rlsFit
  ck_assert_equal(rlsFit(x, y, 2), first, 'after clear');
  ck_assert_equal(rlsFit([], [], 2), zeros(1, 3), 'empty x');
  ck_assert_equal(rlsFit(x, y, 2), second, 'empty call left the estimate alone');
end

function test_agrees_with_the_hosts_polyfit_up_to_the_initial_pull
  fresh();
  randn('seed', 11);
  x = linspace(-3, 3, 400);
  y = 0.5 * x .^ 3 - 2 * x .^ 2 + x - 4 + 0.3 * randn(size(x));
  c = rlsFit(x, y, 3);
  expected = polyfit(x, y, 3);
  if max(abs(c - expected)) > 1e-6 * max(abs(expected))
    error('rlsFit %s, polyfit %s', mat2str(c, 10), mat2str(expected, 10));
  end
end

function test_small_cases_and_shapes
  fresh();
  c = rlsFit([-1 0 1], [1 0 1], 2);
  if max(abs(c - [1 0 0])) > 1e-5
    error('parabola: %s', mat2str(c));
  end
  fresh();
  ck_assert_equal(rlsFit([1 3; 2 4], [10 20 30 40 50], 1), ...
                  oracle_rlsFit([1 2 3 4], [10 20 30 40], 1), '2 x 2 x in column-major order');
  fresh();
  rlsFit([1 2 3], [2 4 6], 1);   % no output asked for: ans still gets the row
  ck_assert_equal(ans, oracle_rlsFit([1 2 3], [2 4 6], 1), 'ans');
  fresh();
  ck_assert_equal(rlsFit(zeros(0, 3), [], 4), zeros(1, 5), 'empty x gives zeros');
end

function test_usage_and_refusals_end_the_call_without_harm
  usage = sprintf('Usage:\n\tcoef=rlsFit(x, y, order)');
  notX = 'Input X must be a double real matrix.';
  notY = 'Input Y must be a double real matrix.';
  ck_expect_isolated({
    'rlsFit(1, 2)', usage;
    'rlsFit(1, 2, 3, 4)', usage;
    'rlsFit()', usage;
    '[a, b] = rlsFit(1, 2, 1)', usage;
    'rlsFit(int32([1 2]), [1 2], 1)', notX;
    'rlsFit(single([1 2]), [1 2], 1)', notX;
    'rlsFit(true(1, 2), [1 2], 1)', notX;
    'rlsFit(''ab'', [1 2], 1)', notX;
    'rlsFit({1, 2}, [1 2], 1)', notX;
    'rlsFit(struct(''a'', 1), [1 2], 1)', notX;
    'rlsFit(@sin, [1 2], 1)', notX;
    'rlsFit([1 2] + 1i, [1 2], 1)', notX;
    'rlsFit(sparse([1 2]), [1 2], 1)', notX;
    'rlsFit([1 2], int8([1 2]), 1)', notY;
    'rlsFit([1 2], {1, 2}, 1)', notY;
    'rlsFit([1 2], @cos, 1)', notY;
    'rlsFit([1 2], sparse([1 2]), 1)', notY;
    'rlsFit([1 2], [1 2], @cos)', 'Input ORDER must be numeric.';
    'rlsFit([1 2], [1 2], {1})', 'Input ORDER must be numeric.';
    'rlsFit([1 2], [1 2], NaN)', 'Input ORDER must be a finite number.';
    'rlsFit([1 2], [1 2], Inf)', 'Input ORDER must be a finite number.';
    'rlsFit([1 2], [1 2], -1)', 'Error: order (-1) must not be negative!';
    'rlsFit([1 2], [1 2], -1e20)', 'Error: order (-2147483648) must not be negative!';
    'rlsFit([1 2], [1 2], 1e10)', 'Error: order (2147483647) is larger than 1000!';
    'rlsFit([1 2], [1 2], 1001)', 'Error: order (1001) is larger than 1000!';
    'rlsFit([1 2 3], [1 2], 1)', 'Error: y has fewer elements (2) than x (3)!';
    'rlsFit(ones(2, 2), [], 1)', 'Error: y has fewer elements (0) than x (4)!';
    'c = rlsFit([1 2], [1 2], -0.5); assert(numel(c) == 1)', [];
    'c = rlsFit(1:3, 1:3, 1000); assert(numel(c) == 1001)', [];
    'c = rlsFit([1 2], [3 4], int32(1)); assert(numel(c) == 2)', [];
  });
end

function test_a_refused_call_leaves_the_estimate_alone
  fresh();
  x = [0.5 1 1.5];
  y = [1 2 2];
  rlsFit(x, y, 1);
  ck_assert_error(@() rlsFit(x, y(1:2), 1), 'Error: y has fewer elements (2) than x (3)!');
  ck_assert_error(@() rlsFit(single(x), y, 1), 'Input X must be a double real matrix.');
  ck_assert_error(@() rlsFit(x, y, 5000), 'Error: order (5000) is larger than 1000!');
  ck_assert_equal(rlsFit(x, y, 1), oracle_rlsFit([x x], [y y], 1), 'continued estimate');
end

function test_clearing_the_plugin_releases_the_estimate
  % Each estimate of order 1000 holds about 16 MB; unloading must free it.
  fresh();
  rlsFit(1, 1, 1000);
  clear rlsFit
  rlsFit(1, 1, 1000);
  before = resident_bytes();
  for k = 1:10
    clear rlsFit
    rlsFit(1, 1, 1000);
  end
  fresh();
  growth = resident_bytes() - before;
  if growth > 40e6
    error('resident memory grew by %.0f MB over 10 reloads', growth / 1e6);
  end
end

function bytes = resident_bytes()
  pages = sscanf(fileread('/proc/self/statm'), '%d');
  bytes = pages(2) * 4096;
end
