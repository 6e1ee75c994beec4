function ck_assert_equal(actual, expected, what)
% ck_assert_equal  Requires ACTUAL and EXPECTED to have the same size and the
% same bits in every element (NaN equal to NaN).
  if nargin < 3
    what = 'value';
  end
  if ~isequal(size(actual), size(expected))
    error('%s: size %s, expected %s', what, mat2str(size(actual)), mat2str(size(expected)));
  end
  same = (actual == expected) | (isnan(actual) & isnan(expected));
  if ~all(same(:))
    k = find(~same, 1);
    error('%s: element %d is %.17g, expected %.17g', what, k, actual(k), expected(k));
  end
end
