% neighborQuery  k-nearest neighbours of column vectors, by exhaustive search.
%
%   [nnIndex, nnDistance] = neighborQuery(mat1, mat2)
%   [nnIndex, nnDistance] = neighborQuery(mat1, mat2, method, nnCount, skipIndex)
%
%   For every column of the query matrix MAT1 (dim x N1), finds the NNCOUNT
%   nearest columns of the data matrix MAT2 (dim x N2), nearest first.
%
%   Inputs
%     mat1       query vectors, one per column (full real double)
%     mat2       data vectors, one per column, same number of rows as mat1
%     method     1 = L1 norm (sum of absolute differences),
%                2 = L2 norm (Euclidean distance). Default 2. Truncated
%                toward zero, so 2.7 acts as 2.
%     nnCount    neighbours wanted per query column, at least 1. Default 1.
%                Truncated toward zero.
%     skipIndex  column numbers of mat2 (1-based, any shape) that are never
%                returned, for every query. Values that are not whole numbers
%                or are out of range exclude nothing, but every element counts
%                toward its length: that length must be below N2, and the
%                length plus nnCount must not exceed N2.
%
%   Outputs (each nnCount x N1; column c describes query column c)
%     nnIndex     1-based column numbers of mat2. Among equal distances the
%                 lower column number comes first. Rows that no column could
%                 fill (nnCount larger than the candidates) hold 0.
%     nnDistance  their distances (L1 sums, or Euclidean distances for
%                 method 2). Unfilled rows hold realmax (L1) or sqrt(realmax).
%
%   Example
%     data  = [0 1 5 9; 0 1 5 9];        % four 2-D points
%     query = [0.9; 1.2];
%     [idx, dist] = neighborQuery(query, data, 2, 2)
%     % idx = [2; 1], dist = [0.2236; 1.5]
%     [idx, dist] = neighborQuery(query, data, 1, 1, 2)   % skip point 2
%     % idx = 1, dist = 2.1
%
%   See also pairDistance.

%!test
%! [idx, dist] = neighborQuery ([0.9; 1.2], [0 1 5 9; 0 1 5 9], 2, 2);
%! assert (idx, [2; 1]);
%! assert (dist, [sqrt(0.05); 1.5], 1e-15);
%!test
%! % L1 norm, the nearest column excluded through the skip list.
%! [idx, dist] = neighborQuery ([0; 0], [0 1 5 9; 0 1 5 9], 1, 1, 1);
%! assert ([idx, dist], [2, 2]);
%!error <Matrix sizes mismatch!> neighborQuery ([1; 2], [1 2 3], 2, 1)
%!error id=clusterkit:neighborQuery:sizeMismatch neighborQuery ([1; 2], [1 2 3], 2, 1)
