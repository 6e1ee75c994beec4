% pairDistance  Squared Euclidean distances between column vectors.
%
%   distMat = pairDistance(mat1, mat2)
%   distMat = pairDistance(mat)
%
%   With two inputs, distMat(i, j) is the squared Euclidean distance between
%   column i of MAT1 (dim x N1) and column j of MAT2 (dim x N2): the sum over
%   the rows of the squared differences. distMat is N1 x N2. No square root
%   is taken; use sqrt(distMat) for Euclidean distances.
%
%   With one input, distMat is the symmetric N x N matrix of squared
%   distances among the columns of MAT, each pair computed once. Its diagonal
%   is exactly 0.
%
%   Inputs
%     mat1, mat2  full real double matrices with the same number of rows
%     mat         a full real double matrix
%
%   A matrix with 0 columns gives an empty result; with 0 rows every distance
%   is 0.
%
%   Example
%     x = [0 3 1; 0 4 1];
%     pairDistance(x)
%     % [0 25 2; 25 0 13; 2 13 0]
%     pairDistance(x, [0; 0])
%     % [0; 25; 2]
%
%   See also neighborQuery, codebookTrain.

%!assert (pairDistance ([0 3; 0 4]), [0 25; 25 0])
%!assert (pairDistance ([0 1; 0 1], [3; 4]), [25; 13])
%!error <Matrix sizes mismatch!> pairDistance ([1; 2], [1 2 3])
%!error id=clusterkit:pairDistance:sizeMismatch pairDistance ([1; 2], [1 2 3])
