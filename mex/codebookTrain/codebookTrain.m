% codebookTrain  k-means training of a codebook of centres (vector quantisation).
%
%   center = codebookTrain(data, centerNum)
%   [center, membership, distortion] = codebookTrain(data, centerNum, plotOpt)
%
%   Trains a codebook on the columns of DATA (dim x N, one vector per column)
%   by batch k-means: each pass assigns every vector to its nearest centre
%   (squared Euclidean distance; the lower-numbered centre among equal
%   distances) and moves every centre to the mean of its vectors. A centre
%   that receives no vector in a pass stays where it was. Training stops when
%   a pass leaves the total distortion unchanged to within the double
%   precision (relative to the previous pass), or after 100 passes.
%
%   Inputs
%     data       training vectors, a full real double matrix with at least one
%                row and one column
%     centerNum  either the number of centres, from 1 to N (truncated toward
%                zero), in which case training starts from the first centerNum
%                columns of data; or a starting codebook, a dim x K full real
%                double matrix, giving K centres. A one-element input is always
%                a count.
%     plotOpt    1 prints "i = <pass>, distortion = <value>" after every pass
%                (passes counted from 0); any other value, or none, prints
%                nothing. A numeric scalar, truncated toward zero.
%
%   Outputs (each built only when asked for)
%     center      dim x K trained centres, one per column
%     membership  K x N: column j holds a single 1 at the row of the centre
%                 that vector j was assigned to in the last pass
%     distortion  P x 1 total distortion of each of the P passes run: the sum
%                 of the squared distances of the vectors to their nearest
%                 centre, as the centres stood when the pass began
%
%   Where the progress lines appear depends on the build: in the command
%   window (macOS builds) or on the process's standard output (Linux builds).
%
%   Example
%     data = [0 0.2 5 5.2; 0 0.1 5 4.9];
%     [center, membership, distortion] = codebookTrain(data, 2)
%     % center = [0.1 5.1; 0.05 4.95], membership = [1 1 0 0; 0 0 1 1]
%
%   See also pairDistance, neighborQuery.

%!test
%! [center, membership, distortion] = codebookTrain ([0 0 10 10; 0 1 0 1], [0 10; 0 0]);
%! assert (center, [0 10; 0.5 0.5]);
%! assert (membership, [1 1 0 0; 0 0 1 1]);
%! assert (distortion(end), 1);
%!error <Input DATA must be a double real matrix.> codebookTrain (int32 ([1 2]), 1)
%!error id=clusterkit:codebookTrain:invalidInput codebookTrain (int32 ([1 2]), 1)
