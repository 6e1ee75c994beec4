function tests = test_pairDistance()
  tests = localfunctions();
end

function test_two_inputs_give_the_literal_squared_sums()
  rand('seed', 3);
  for sizes = [5 9 7; 1 4 1; 64 13 6; 3 1 1]'
    dim = sizes(1);
    mat1 = 100 * (rand(dim, sizes(2)) - 0.5);
    mat2 = 100 * (rand(dim, sizes(3)) - 0.5);
    ck_assert_equal(pairDistance(mat1, mat2), oracle_pairDistance(mat1, mat2), ...
                    sprintf('dim %d, %d x %d', sizes));
  end
  ck_assert_equal(pairDistance([0; 0], [3; 4]), 25, 'no square root');
  special = [0 Inf NaN -0 1e200; 0 0 1 0 1e200];
  ck_assert_equal(pairDistance(special, [0; 0]), oracle_pairDistance(special, [0; 0]), 'non-finite');
end

function test_one_input_is_symmetric_with_a_zero_diagonal_and_equals_two_inputs()
  rand('seed', 4);
  for n = [1 2 5 10]
    mat = rand(3, n);
    distMat = pairDistance(mat);
    ck_assert_equal(distMat, oracle_pairDistance(mat), sprintf('%d columns', n));
    ck_assert_equal(distMat, pairDistance(mat, mat), 'one input against two');
    ck_assert_equal(diag(distMat), zeros(n, 1), 'diagonal');
  end
  ck_assert_equal(pairDistance(7), 0, 'single column');
  % A NaN column leaves the diagonal at 0: it is never computed.
  distMat = pairDistance([NaN 1]);
  ck_assert_equal(diag(distMat), [0; 0], 'diagonal with NaN');
end

function test_every_element_is_written_over_used_memory()
  % The host does not zero-fill the output: a block just freed (full of 7s)
  % comes back, so a diagonal or a row-free table left unwritten would show.
  for round = 1:5
    junk = 7 * ones(40); clear junk;
    ck_assert_equal(diag(pairDistance(rand(3, 40))), zeros(40, 1), 'diagonal');
    junk = 7 * ones(40); clear junk;
    ck_assert_equal(pairDistance(zeros(0, 40)), zeros(40), 'no rows, one input');
    junk = 7 * ones(40); clear junk;
    ck_assert_equal(pairDistance(zeros(0, 40), zeros(0, 40)), zeros(40), 'no rows, two inputs');
  end
end

function test_empty_and_row_free_matrices()
  ck_assert_equal(pairDistance(zeros(3, 0)), zeros(0, 0), 'no columns, one input');
  ck_assert_equal(pairDistance(zeros(3, 0), ones(3, 2)), zeros(0, 2), 'no columns in mat1');
  ck_assert_equal(pairDistance(ones(3, 2), zeros(3, 0)), zeros(2, 0), 'no columns in mat2');
  ck_assert_equal(pairDistance(zeros(0, 3), zeros(0, 2)), zeros(3, 2), 'no rows');
  ck_assert_equal(pairDistance(zeros(0, 4)), zeros(4, 4), 'no rows, one input');
end

function test_usage_and_size_messages()
  usage = "Usage:\n\tdistMat=pairDistance(mat1, mat2)\n\tdistMat=pairDistance(mat)";
  ck_assert_error(@() pairDistance(), usage);
  ck_assert_error(@() pairDistance(1, 2, 3), usage);
  ck_assert_error(@() two_outputs(), usage);
  ck_assert_error(@() pairDistance(ones(2, 3), ones(3, 3)), 'Matrix sizes mismatch!');
end

function two_outputs()
  [a, b] = pairDistance(1);
end

function test_usage_with_a_long_name_is_cut_to_its_buffer()
  name = ['pd' repmat('x', 1, namelengthmax() - 2)];
  cleanup = ck_renamed_plugin('pairDistance', name);
  full = sprintf("Usage:\n\tdistMat=%s(mat1, mat2)\n\tdistMat=%s(mat)", name, name);
  ck_assert_error(@() feval(name), full(1:99));
end

function test_inputs_that_are_not_full_real_doubles_are_refused()
  bad = {'int32([1 2])', 'single([1 2])', 'true(1, 2)', '''ab''', '{1, 2}', ...
         'struct(''a'', {1, 2})', 'sparse([1 2])', '[1+2i 3]', '@sin'};
  cases = cell(0, 2);
  for k = 1:numel(bad)
    cases(end+1, :) = {sprintf('pairDistance(%s);', bad{k}), 'Input MAT must be a double real matrix.'};
    cases(end+1, :) = {sprintf('pairDistance(%s, [1 2]);', bad{k}), 'Input MAT1 must be a double real matrix.'};
    cases(end+1, :) = {sprintf('pairDistance([1 2], %s);', bad{k}), 'Input MAT2 must be a double real matrix.'};
  end
  % The class checks come before the size check.
  cases(end+1, :) = {'pairDistance(ones(3, 1), int8(1));', 'Input MAT2 must be a double real matrix.'};
  cases(end+1, :) = {'pairDistance(ones(2, 2, 2));', []};
  % A result far beyond the machine's memory is refused, not attempted.
  cases(end+1, :) = {'pairDistance(zeros(0, 3e6));', 'Output too large for this machine.'};
  ck_expect_isolated(cases);
end
