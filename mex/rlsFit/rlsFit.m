% rlsFit  Polynomial fit by recursive least squares, continued across calls.
%
%   coef = rlsFit(x, y, order)
%
%   Fits a polynomial of degree ORDER to the points (x(k), y(k)) and returns
%   its coefficients as a 1 x (order+1) row, highest power first, in the
%   layout of polyfit: coef(1) belongs to x^order, coef(end) is the constant
%   term, and polyval(coef, x) evaluates the fit.
%
%   Inputs
%     x      abscissae, a full real double array of any shape; all its
%            elements are points, taken in column-major order (x(:)).
%     y      ordinates, a full real double array with at least numel(x)
%            elements; its first numel(x) elements, in column-major order,
%            pair with x. Further elements are ignored.
%     order  the degree, 0 to 1000, truncated toward zero (2.9 acts as 2).
%
%   One estimation across calls
%     The points are fed one at a time to a recursive least-squares
%     estimator without forgetting, which lives as long as the plug-in stays
%     loaded. Consecutive calls with the same ORDER continue one estimation:
%     each call returns the fit over all points given since the estimation
%     began, as if they had come in one call. So
%       rlsFit(x1, y1, 3);  c = rlsFit(x2, y2, 3);
%     gives the same c as a fresh rlsFit([x1(:); x2(:)], [y1(:); y2(:)], 3).
%     A call with another ORDER discards the estimate and starts afresh, and
%       clear rlsFit
%     unloads the plug-in, so the next call starts afresh too. A call with
%     an empty x returns zeros(1, order+1) and leaves the estimate as it is;
%     so does a call that ends in an error. A NaN or Inf point makes this and
%     every later result of the estimation NaN until it starts afresh.
%
%   Accuracy
%     The estimator starts from a covariance of 1e6 * eye(order+1), so the
%     result solves (A'*A + 1e-6*eye(order+1)) * coef' = A'*y, where the rows
%     of A are [x^order ... x 1]: the least-squares fit, drawn very slightly
%     toward zero. It matches polyfit closely when the points are well spread
%     and the degree is low.
%
%   Example
%     x = linspace(-1, 1, 50);
%     clear rlsFit
%     coef = rlsFit(x, 2*x + 1, 1)     % close to [2 1]
%     coef = rlsFit([2 3], [5 7], 1)   % continues: the fit of all 52 points
%
%   See also polyfit, polyval.

%!test
%! clear rlsFit
%! coef = rlsFit ([0 1 2 3], [1 3 5 7], 1);
%! clear rlsFit
%! assert (coef, [2 1], 1e-6);
%!error <Error: order \(-1\) must not be negative!> rlsFit (1, 1, -1)
%!error id=clusterkit:rlsFit:invalidInput rlsFit (1, 1, -1)
