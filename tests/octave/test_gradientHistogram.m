function tests = test_gradientHistogram()
% Plug-in tests of gradientHistogram, against the literal oracle.
  tests = localfunctions();
end

function check_against_oracle(img, params)
  if nargin < 2
    actual = gradientHistogram(img);
    expected = oracle_gradientHistogram(img);
    what = sprintf('%s image, defaults', mat2str(size(img)));
  else
    actual = gradientHistogram(img, params);
    expected = oracle_gradientHistogram(img, params);
    what = sprintf('%s image, params %s', mat2str(size(img)), mat2str(params));
  end
  if isempty(expected)
    error('%s: the oracle case has no block', what);
  end
  ck_assert_equal(actual, expected, what);
end

function test_grey_images_match_the_oracle()
  rand('seed', 61);
  check_against_oracle(rand(128, 64) * 255);
  check_against_oracle(rand(41, 37));
  check_against_oracle(floor(rand(32, 40) * 3));   % many equal neighbours
  check_against_oracle(rand(1, 60), [9 0.5 2]);     % single row
  check_against_oracle(rand(60, 1), [9 0.5 2 1]);   % single column
end

function test_colour_images_match_the_oracle()
  rand('seed', 62);
  check_against_oracle(rand(40, 48, 3) * 255);
  check_against_oracle(floor(rand(33, 35, 3) * 2));
  check_against_oracle(rand(30, 26, 3), [12 4.5 3 1 0.15]);
end

function test_other_parameters_match_the_oracle()
  rand('seed', 63);
  img = rand(36, 44) * 100;
  check_against_oracle(img, [9 8 2 1 0.2]);            % signed orientation
  check_against_oracle(img, [6 2.5 3 0 0.1]);          % non-whole cell: negative weights
  check_against_oracle(img, [1 4 2 0 0.2]);            % one bin
  check_against_oracle(img, [5 6 1 0 1]);              % one-cell blocks, no clipping
  check_against_oracle(img, [13.9 6.7 2.9 1.9 0.05]);  % truncated values
  check_against_oracle(img, [4 3 2 0 -0.1]);           % negative clip threshold
end

function test_short_and_long_parameter_vectors()
  rand('seed', 64);
  img = rand(40, 40);
  d = gradientHistogram(img);
  ck_assert_equal(gradientHistogram(img, []), d, 'empty vector: all defaults');
  ck_assert_equal(gradientHistogram(img, [9 8]), d, 'two elements');
  ck_assert_equal(gradientHistogram(img, [9; 8; 2; 0]), d, 'column of four');
  ck_assert_equal(gradientHistogram(img, [9 8 2 0 0.2 77 -1]), d, 'extra elements ignored');
  ck_assert_equal(gradientHistogram(img, [9 8 2 0 0.2], 'ignored'), d, 'third input ignored');
  ck_assert_equal(gradientHistogram(img, [6 4]), oracle_gradientHistogram(img, [6 4 2 0 0.2]), ...
                  'defaults after two given values');
end

function test_default_sizes_and_zero_images()
  ck_assert_equal(gradientHistogram(zeros(128, 64)), zeros(3780, 1), 'zero grey image');
  ck_assert_equal(size(gradientHistogram(rand(128, 64, 3))), [3780 1], 'colour length');
  ck_assert_equal(size(gradientHistogram(rand(20, 64))), [9*4*1*7 1], '2.5 cells round down');
  ck_assert_equal(size(gradientHistogram(rand(21, 64))), [9*4*2*7 1], '2.625 cells round up');
end

function test_images_too_small_for_a_block_give_an_empty_column()
  ck_assert_equal(gradientHistogram(rand(8, 8)), zeros(0, 1), '8 x 8, block 2');
  ck_assert_equal(gradientHistogram(rand(8, 8), [9 8 4]), zeros(0, 1), '8 x 8, block 4');
  ck_assert_equal(gradientHistogram([]), zeros(0, 1), 'empty image');
  ck_assert_equal(gradientHistogram(zeros(0, 50, 3)), zeros(0, 1), 'empty colour image');
  ck_assert_equal(gradientHistogram(rand(40, 40), [9 8 0.5]), zeros(0, 1), 'block size below 1');
  ck_assert_equal(gradientHistogram(rand(40, 40), [9 Inf 2]), zeros(0, 1), 'infinite cell');
end

function test_colour_planes_strongest_wins_first_on_ties()
  rand('seed', 65);
  g = rand(40, 40);
  signed = [9 8 2 1 0.2];
  ck_assert_equal(gradientHistogram(cat(3, g, g, g)), gradientHistogram(g), 'equal planes');
  % Opposite gradients tie in magnitude: the first plane decides.
  ck_assert_equal(gradientHistogram(cat(3, g, -g, -g), signed), gradientHistogram(g, signed), ...
                  'tie, plane 1 first');
  ck_assert_equal(gradientHistogram(cat(3, -g, g, g), signed), gradientHistogram(-g, signed), ...
                  'tie, plane 1 negated');
  % Twice the gradient everywhere in plane 2 (exact scaling: same bits).
  ck_assert_equal(gradientHistogram(cat(3, -g, 2 * g, g), signed), gradientHistogram(g, signed), ...
                  'stronger plane 2');
end

function test_other_dimension_counts_and_complex_images()
  rand('seed', 66);
  img = rand(24, 16, 3, 2);
  ck_assert_equal(gradientHistogram(img), gradientHistogram(reshape(img, 24, 96)), ...
                  'four dimensions read as one grey plane');
  re = rand(30, 30);
  ck_assert_equal(gradientHistogram(complex(re, rand(30, 30))), gradientHistogram(re), ...
                  'only the real part is read');
end

function test_clip_of_one_changes_nothing()
  rand('seed', 67);
  img = rand(40, 40, 3);
  ck_assert_equal(gradientHistogram(img, [9 8 2 0 1]), gradientHistogram(img, [9 8 2 0 1e300]), ...
                  'clip 1 against no clip');
end

function test_messages_in_their_order()
  img = rand(16, 16);
  ck_assert_error(@() two_outputs(), 'Too many output arguments');
  ck_assert_error(@() two_outputs(int32(1)), 'Too many output arguments');
  ck_assert_error(@() gradientHistogram(), 'No Image -> No HoG');
  ck_assert_error(@() gradientHistogram(single(img)), 'Matrix is not of type double');
  ck_assert_error(@() gradientHistogram(single(img), [0 0 0]), 'Matrix is not of type double');
  ck_assert_error(@() gradientHistogram(img, [0 0 0]), 'Number of orientation bins must be positive');
  ck_assert_error(@() gradientHistogram(img, [-3 8 2]), 'Number of orientation bins must be positive');
  ck_assert_error(@() gradientHistogram(img, [9 0 0]), 'Cell size must be positive');
  ck_assert_error(@() gradientHistogram(img, [9 -8 2]), 'Cell size must be positive');
  ck_assert_error(@() gradientHistogram(img, [9 8 0]), 'Block size must be positive');
  ck_assert_error(@() gradientHistogram(img, [9 8 -2 0 0.2]), 'Block size must be positive');
end

function two_outputs(varargin)
  [a, b] = gradientHistogram(varargin{:});
end

function test_refusals_of_values_and_classes()
  img = rand(16, 16);
  bins = 'Number of orientation bins must be positive';
  ck_assert_error(@() gradientHistogram(img, [0.5 8 2]), bins);
  ck_assert_error(@() gradientHistogram(img, [NaN 8 2]), bins);
  ck_assert_error(@() gradientHistogram(img, [9 NaN 2]), 'Cell size must be positive');
  ck_assert_error(@() gradientHistogram(img, [9 8 NaN]), 'Block size must be positive');
  notDouble = 'Matrix is not of type double';
  for bad = {int32(img), img > 0.5, 'abc', {img}, struct('a', 1), sparse(img), @sin}
    ck_assert_error(@() gradientHistogram(bad{1}), notDouble);
  end
  badParams = 'Input PARAMS must be a double real matrix.';
  for bad = {int32([9 8 2]), single([9 8 2]), [9 8 2] + 1i, sparse([9 8 2]), {9}, 'abc', @sin}
    ck_assert_error(@() gradientHistogram(img, bad{1}), badParams);
  end
  planes = 'A three-dimensional image must have 3 colour planes';
  ck_assert_error(@() gradientHistogram(rand(16, 16, 2)), planes);
  ck_assert_error(@() gradientHistogram(rand(16, 16, 4)), planes);
  tooLong = 'Image too large: the descriptor length exceeds 2147483647';
  ck_assert_error(@() gradientHistogram(img, [1e9 8 1]), tooLong);
  ck_assert_error(@() gradientHistogram(img, [Inf 8 1]), tooLong);
  ck_assert_error(@() gradientHistogram(img, [9 1e-300 1]), tooLong);
end

function test_result_goes_to_ans_without_an_output()
  gradientHistogram(zeros(16, 16));
  ck_assert_equal(ans, zeros(9 * 4, 1), 'ans');
end

function test_no_input_crashes_the_host()
  tooLong = 'Image too large: the descriptor length exceeds 2147483647';
  ck_expect_isolated({
    'gradientHistogram(@sin)', 'Matrix is not of type double';
    'gradientHistogram(struct())', 'Matrix is not of type double';
    'gradientHistogram(rand(16), @sin)', 'Input PARAMS must be a double real matrix.';
    'gradientHistogram(rand(16), struct(''a'', 1))', 'Input PARAMS must be a double real matrix.';
    'gradientHistogram(NaN(32))', [];
    'gradientHistogram([Inf -Inf NaN; 1 2 3] * ones(3, 30))', [];
    'gradientHistogram(rand(32), [9 8 2 NaN NaN])', [];
    'gradientHistogram(rand(32), [Inf 8 2])', tooLong;
    'gradientHistogram(rand(32), [9 realmin 1])', tooLong;
    'gradientHistogram(rand(32), [9 1e-200 Inf])', tooLong;
    'gradientHistogram(rand(32), [9 8 Inf])', [];
    'gradientHistogram(rand(8), [2147483647 8 1])', 'Output too large for this machine.';
    'gradientHistogram(rand(32), [9 8 -Inf])', 'Block size must be positive';
    'gradientHistogram(rand(1, 1, 3))', [];
    'gradientHistogram(zeros(0, 0, 3))', [];
    'gradientHistogram(rand(3, 3, 3), [9 0.01 1])', [];
  });
end

function test_help_describes_the_call_and_the_layout()
  text = help('gradientHistogram');
  for part = {'gradientHistogram(image, params)', 'default 9', 'reshape(descriptor, nbins'}
    if isempty(strfind(text, part{1}))
      error('help text lacks "%s"', part{1});
    end
  end
end
