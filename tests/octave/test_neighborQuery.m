function tests = test_neighborQuery()
% Plug-in tests of neighborQuery, against the literal oracle.
  tests = localfunctions();
end

function test_matches_the_oracle_on_random_data()
  rand('seed', 1);
  randn('seed', 1);
  for dim = [1 4 9]
    mat1 = randn(dim, 23);
    mat2 = randn(dim, 61);
    for method = [1 2]
      for nnCount = [1 3 8]
        [idx, dist] = neighborQuery(mat1, mat2, method, nnCount);
        [oIdx, oDist] = oracle_neighborQuery(mat1, mat2, method, nnCount);
        what = sprintf('dim %d, method %d, nnCount %d', dim, method, nnCount);
        ck_assert_equal(idx, oIdx, ['index, ' what]);
        ck_assert_equal(dist, oDist, ['distance, ' what]);
      end
    end
  end
end

function test_agrees_with_a_direct_computation()
  randn('seed', 2);
  mat1 = randn(3, 5);
  mat2 = randn(3, 40);
  [idx, dist] = neighborQuery(mat1, mat2, 2, 4);
  for c = 1:5
    d = sqrt(sum((mat2 - mat1(:, c)).^2, 1));
    [sorted, order] = sort(d);
    assert(isequal(idx(:, c)', order(1:4)));
    assert(max(abs(dist(:, c)' - sorted(1:4))) < 1e-12);
  end
end

function test_defaults_are_L2_and_one_neighbour()
  mat1 = [0 10; 0 10];
  mat2 = [1 9 3; 1 9 0];
  [idx, dist] = neighborQuery(mat1, mat2);
  ck_assert_equal(idx, [1 2], 'index');
  ck_assert_equal(dist, [sqrt(2) sqrt(2)], 'distance');
  ck_assert_equal(neighborQuery(mat1, mat2, 2.7), idx, 'method 2.7 acts as 2');
  [~, d1] = neighborQuery(mat1, mat2, 1);
  ck_assert_equal(d1, [2 2], 'L1 distances are not rooted');
end

function test_one_output_still_returns_indices()
  idx = neighborQuery([0; 0], [5 1 3; 5 1 3], 1, 2);
  ck_assert_equal(idx, [2; 3], 'index');
  neighborQuery([0; 0], [5 1 3; 5 1 3]);
  assert(isequal(ans, 2));
end

function test_ties_list_the_lower_column_first()
  mat2 = [2 1 1 2 1; 0 0 0 0 0];
  [idx, dist] = neighborQuery([0; 0], mat2, 1, 5);
  ck_assert_equal(idx', [2 3 5 1 4], 'index');
  ck_assert_equal(dist', [1 1 1 2 2], 'distance');
end

function test_skip_list_excludes_columns()
  mat2 = [1 2 3 4 5 6];
  [idx, ~] = neighborQuery(0, mat2, 1, 2, [1 2]);
  ck_assert_equal(idx, [3; 4], 'two skipped');
  % Any shape; duplicates count toward the length but exclude once.
  [idx, ~] = neighborQuery(0, mat2, 1, 3, [1; 1]);
  ck_assert_equal(idx, [2; 3; 4], 'duplicates');
  % Values that are not whole or out of range exclude nothing.
  [idx, ~] = neighborQuery(0, mat2, 1, 3, [1.5 0 7]);
  ck_assert_equal(idx, [1; 2; 3], 'non-integers');
  [idx, ~] = neighborQuery(0, mat2, 1, 2, [NaN -Inf]);
  ck_assert_equal(idx, [1; 2], 'NaN and -Inf');
  % An empty skip list is valid.
  [idx, ~] = neighborQuery(0, mat2, 1, 1, []);
  ck_assert_equal(idx, 1, 'empty skip list');
end

function test_skip_list_matches_the_oracle()
  randn('seed', 3);
  mat1 = randn(3, 10);
  mat2 = randn(3, 30);
  skip = [4 4 17 2.5 30 100 1];
  for method = [1 2]
    [idx, dist] = neighborQuery(mat1, mat2, method, 5, skip);
    [oIdx, oDist] = oracle_neighborQuery(mat1, mat2, method, 5, skip);
    ck_assert_equal(idx, oIdx, 'index');
    ck_assert_equal(dist, oDist, 'distance');
    assert(~any(ismember(idx(:), [1 4 17 30])));
  end
end

% Exact matches fill slots with distance 0, after which the scan of that
% query column ends early; the result must not change.
function test_exact_matches_match_the_oracle()
  randn('seed', 4);
  mat1 = randn(3, 4);
  mat2 = [mat1(:, [2 2]), randn(3, 6), mat1(:, [1 2 1 3]), randn(3, 5), mat1];
  for method = [1 2]
    for nnCount = [1 2 3 6]
      for skip = {[], [2 9]}
        args = {mat1, mat2, method, nnCount, skip{1}};
        [idx, dist] = neighborQuery(args{:});
        [oIdx, oDist] = oracle_neighborQuery(args{:});
        ck_assert_equal(idx, oIdx, 'index');
        ck_assert_equal(dist, oDist, 'distance');
      end
    end
  end
end

function test_unfilled_rows_hold_index_zero()
  [idx, dist] = neighborQuery([0; 0], [3; 4], 1, 3);
  ck_assert_equal(idx, [1; 0; 0], 'index');
  ck_assert_equal(dist, [7; realmax; realmax], 'L1 distance');
  [idx, dist] = neighborQuery([0; 0], [3; 4], 2, 3);
  ck_assert_equal(idx, [1; 0; 0], 'index');
  ck_assert_equal(dist, [5; sqrt(realmax); sqrt(realmax)], 'L2 distance');
  assert(sqrt(realmax) == 1.3407807929942596e154);
  [idx, dist] = neighborQuery([0 1], zeros(1, 0), 2, 2);
  ck_assert_equal(idx, zeros(2, 2), 'empty mat2');
  ck_assert_equal(dist, repmat(sqrt(realmax), 2, 2), 'empty mat2');
end

function test_empty_inputs()
  % No rows: every distance is 0 and the first columns come in order.
  [idx, dist] = neighborQuery(zeros(0, 2), zeros(0, 5), 2, 3);
  ck_assert_equal(idx, repmat([1; 2; 3], 1, 2), 'index, 0 rows');
  ck_assert_equal(dist, zeros(3, 2), 'distance, 0 rows');
  [idx, ~] = neighborQuery(zeros(0, 1), zeros(0, 5), 1, 2, [1 3]);
  ck_assert_equal(idx, [2; 4], '0 rows with skip list');
  % No query columns: empty outputs of nnCount rows.
  [idx, dist] = neighborQuery(zeros(3, 0), ones(3, 4), 1, 2);
  ck_assert_equal(idx, zeros(2, 0), 'index, no queries');
  ck_assert_equal(dist, zeros(2, 0), 'distance, no queries');
end

function test_large_magnitudes_never_list_abandoned_candidates()
  % Squared distances near 1e11 exceed 2147483647: an abandoned candidate
  % must not enter the list with a distance that was never computed.
  randn('seed', 4);
  mat2 = 1e5 * randn(10, 50);
  mat1 = 1e5 * randn(10, 7);
  for method = [1 2]
    [idx, dist] = neighborQuery(mat1, mat2, method, 4);
    [oIdx, oDist] = oracle_neighborQuery(mat1, mat2, method, 4);
    ck_assert_equal(idx, oIdx, 'index');
    ck_assert_equal(dist, oDist, 'distance');
    assert(all(idx(:) >= 1));
    for c = 1:7
      if method == 1
        true_dist = sum(abs(mat2(:, idx(:, c)) - mat1(:, c)), 1);
      else
        true_dist = sqrt(sum((mat2(:, idx(:, c)) - mat1(:, c)).^2, 1));
      end
      assert(max(abs(true_dist - dist(:, c)') ./ true_dist) < 1e-12);
      assert(issorted(dist(:, c)));
    end
  end
end

function test_error_messages_in_their_order()
  usage = "Usage:\n\t[nnIndex, nnDistance]=neighborQuery(mat1, mat2, method, nnCount, skipIndex)\n";
  ck_assert_error(@() neighborQuery(1), usage);
  ck_assert_error(@() neighborQuery(1, 1, 2, 1, [], 6), usage);
  ck_assert_error(@() call_with_outputs(3, 1, 1), usage);
  ck_assert_error(@() neighborQuery(1, 1, 2, 0.5), "Error: nnCount (0) is too small!\n");
  ck_assert_error(@() neighborQuery(1, 1, 2, -3), "Error: nnCount (-3) is too small!\n");
  % nnCount is checked before the matrices.
  ck_assert_error(@() neighborQuery('a', 1, 2, 0), "Error: nnCount (0) is too small!\n");
  ck_assert_error(@() neighborQuery(1i, 1), 'Input MAT1 must be a double real matrix.');
  ck_assert_error(@() neighborQuery(single(1), 1), 'Input MAT1 must be a double real matrix.');
  ck_assert_error(@() neighborQuery(1, int32(1)), 'Input MAT2 must be a double real matrix.');
  ck_assert_error(@() neighborQuery(1, 1, 3), 'This function only supports L1 and L2 norm!');
  ck_assert_error(@() neighborQuery(1, 1, 0.9), 'This function only supports L1 and L2 norm!');
  ck_assert_error(@() neighborQuery(ones(2, 1), ones(3, 1)), 'Matrix sizes mismatch!');
  ck_assert_error(@() neighborQuery(1, [1 2 3], 2, 1, [1 2 3]), ...
                  "Error: The length of skipIndex (3) is greater than or equal to dataNum2 (3)!\n");
  ck_assert_error(@() neighborQuery(1, [1 2 3], 2, 2, [9 9]), ...
                  "Error: The length of skipIndex (2) plus nnCount (2) is greater than dataNum2 (3)!\n");
  ck_assert_error(@() neighborQuery(1, zeros(1, 0), 2, 1, []), ...
                  "Error: The length of skipIndex (0) is greater than or equal to dataNum2 (0)!\n");
end

function test_usage_is_cut_to_its_buffer()
  % The usage text carries the name the plug-in was called by.
  name = ['nq' repmat('x', 1, 48)];
  folder = tempname();
  mkdir(folder);
  copyfile(fullfile(getenv('CLUSTERKIT_MEX_DIR'), 'neighborQuery.mex'), fullfile(folder, [name '.mex']));
  addpath(folder);
  cleanup = onCleanup(@() rmpath(folder));
  usage = sprintf('Usage:\n\t[nnIndex, nnDistance]=%s(mat1, mat2, method, nnCount, skipIndex)\n', name);
  ck_assert_error(@() feval(name, 1), usage(1:99));
  assert(isequal(feval(name, 1, [3 1]), 2));
end

function test_outputs_too_large_for_the_machine_are_refused()
  ck_assert_error(@() neighborQuery(1, zeros(1, 0), 2, Inf), 'Output too large for this machine.');
  ck_assert_error(@() neighborQuery(zeros(0, 1e6), zeros(0, 1), 1, 1e9), 'Output too large for this machine.');
end

% Data of 0 rows costs no memory however many columns it has, and every
% distance is 0: the search must neither walk billions of columns per query
% nor take work space by the column count (a hang counts as a crash here).
function test_empty_rows_with_huge_column_counts_finish_at_once()
  wanted = 'assert(isequal(neighborQuery(zeros(0, 1000), zeros(0, 2^31 - 1), %d, 3%s), repmat(%s, 1, 1000)))';
  ck_expect_isolated({
    sprintf(wanted, 1, '', '[1; 2; 3]'), [];
    sprintf(wanted, 2, ', [2 2^31-1 2]', '[1; 3; 4]'), [];
  });
end

function test_bad_inputs_never_crash_the_host()
  nq = 'neighborQuery';
  mat = 'Input MAT1 must be a double real matrix.';
  mat2 = 'Input MAT2 must be a double real matrix.';
  skip = 'Input SKIPINDEX must be a double real matrix.';
  bad = {'int32([1 2])', 'single([1 2])', 'true(1, 2)', '''ab''', '{1, 2}', ...
         'struct(''a'', {1, 2})', '@sin', 'sparse([1 2])', '[1 2] + 1i', 'uint8([1 2])'};
  cases = {};
  for k = 1:numel(bad)
    cases(end+1, :) = {sprintf('%s(%s, [1 2]);', nq, bad{k}), mat};
    cases(end+1, :) = {sprintf('%s([1 2], %s);', nq, bad{k}), mat2};
    cases(end+1, :) = {sprintf('%s(1, [1 2 3 4], 2, 1, %s);', nq, bad{k}), skip};
  end
  numeric = 'Input METHOD must be numeric.';
  cases = [cases; {
    'neighborQuery(1, 1, {2});', numeric
    'neighborQuery(1, 1, struct());', numeric
    'neighborQuery(1, 1, @sin);', numeric
    'neighborQuery(1, 1, 2, {1});', 'Input NNCOUNT must be numeric.'
    'neighborQuery(1, 1, 2, @cos);', 'Input NNCOUNT must be numeric.'
    'neighborQuery(1, 1, []);', 'This function only supports L1 and L2 norm!'
    'neighborQuery(1, 1, NaN);', 'This function only supports L1 and L2 norm!'
    'neighborQuery(1, 1, Inf);', 'This function only supports L1 and L2 norm!'
    'neighborQuery(1, 1, int8(1));', []
    'neighborQuery(1, 1, true);', []
    'neighborQuery(1, 1, single(2.5));', []
    'neighborQuery(1, 1, sparse(2));', []
    'neighborQuery(1, 1, 1 + 2i);', []
    'neighborQuery(1, 1, 2, []);', "Error: nnCount (0) is too small!\n"
    'neighborQuery(1, 1, 2, NaN);', "Error: nnCount (0) is too small!\n"
    'neighborQuery(1, 1, 2, -Inf);', "Error: nnCount (-2147483648) is too small!\n"
    'neighborQuery(1, zeros(1, 0), 2, Inf);', 'Output too large for this machine.'
    'neighborQuery(zeros(1, 0), 1, 2, 2^40);', []
    'neighborQuery([NaN Inf -Inf], [1 NaN Inf], 1, 3);', []
    'neighborQuery([NaN Inf -Inf], [1 NaN Inf], 2, 3, [NaN Inf]);', "Error: The length of skipIndex (2) plus nnCount (3) is greater than dataNum2 (3)!\n"
    'neighborQuery(zeros(2, 0), zeros(2, 0));', []
    'neighborQuery(ones(2, 2, 2), ones(2, 3));', []
    'neighborQuery(sparse(zeros(2, 2)), ones(2, 3));', mat
    'neighborQuery(ones(2, 3), sparse(ones(2, 3)));', mat2
  }];
  ck_expect_isolated(cases);
end

function varargout = call_with_outputs(n, varargin)
  varargout = cell(1, n);
  [varargout{:}] = neighborQuery(varargin{:});
end
