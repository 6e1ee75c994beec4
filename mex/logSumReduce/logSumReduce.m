% logSumReduce  Adds probabilities held as logarithms: log(sum(exp(x(:)))).
%
%   value = logSumReduce(x)
%   value = logSumReduce(x, anything)      % the second input is ignored
%
%   X is a full real double array of any shape. Its entries are added in the
%   log domain one by one in storage order (down the first column, then the
%   next): acc = x(1), then for each further entry a,
%       acc = log(exp(lo - hi) + 1) + hi,   hi = max(acc, a), lo = the other,
%   which never forms exp of a large number. Consequences of this order:
%     - a single -Inf after a finite entry changes nothing;
%     - -Inf followed by -Inf gives NaN, and NaN stays from there on;
%     - any NaN entry gives NaN.
%   An empty X gives -Inf, the log of an empty sum. A scalar is returned
%   unchanged.
%
%   Example
%     logSumReduce([0 0])               % log(2) = 0.6931
%     logSumReduce(log([0.2 0.3 0.5]))  % 0 up to rounding
%
%   See also mixtureScore.

%!assert (logSumReduce (log ([1 2 3])), log (6), 1e-14)
%!assert (logSumReduce ([-1000 -1000]), -1000 + log (2), 1e-12)
%!error <Input X must be a double real matrix.> logSumReduce (single (1))
%!error id=clusterkit:logSumReduce:invalidInput logSumReduce (single (1))
