% gradientHistogram  HOG (histogram of oriented gradients) descriptor of an image.
%
%   descriptor = gradientHistogram(image)
%   descriptor = gradientHistogram(image, params)
%
%   Inputs
%     image   full double array (only the real part is read): rows x cols for
%             a grey image, rows x cols x 3 for a colour image. Any other
%             number of dimensions is read as one grey plane of size(image, 1)
%             rows and numel(image) / size(image, 1) columns.
%     params  [nbins, cellSize, blockSize, signed, clip], a real double vector.
%             Missing trailing elements take their defaults; elements after
%             the fifth are ignored.
%               nbins      orientation bins, at least 1 (default 9; truncated)
%               cellSize   cell side in pixels, positive, need not be whole
%                          (default 8)
%               blockSize  block side in cells, positive (default 2;
%                          truncated)
%               signed     1 = signed orientation over the full turn (0..2*pi),
%                          anything else = unsigned over half a turn (0..pi),
%                          opposite directions together (default 0; truncated)
%               clip       the values of a block, once divided by its L2 norm,
%                          are cut down to clip and the block divided by its
%                          L2 norm again (default 0.2; 1 or more: no clipping)
%
%   Output
%     descriptor  column vector of nbins*blockSize^2*NBY*NBX values, where
%                 GY = ceil(rows/cellSize - 0.5) + 2, GX likewise from cols,
%                 NBY = GY - blockSize - 1 and NBX = GX - blockSize - 1 are
%                 the block positions down and across. A half cell rounds
%                 down: 20 rows with cell size 8 make 2 cells. Empty (0 x 1)
%                 when the image is too small for one block.
%
%   Layout: blocks of blockSize x blockSize cells overlap with a stride of one
%   cell. They follow each other down the image first (all blocks of the
%   first block column, top to bottom, then the next column). Within a block
%   the cells run row by row (the cells of the block's top row, left to
%   right, then the next row), and each cell holds its nbins bins together,
%   bin 1 centred at half a bin width. So
%     H = reshape(descriptor, nbins, blockSize, blockSize, NBY, NBX);
%     H(b, j, i, by, bx)  is bin b of the cell in row i, column j of the
%                         block at block row by, block column bx.
%
%   Gradients are differences of the two neighbours (not halved), a
%   neighbour outside the image counting as 0; of a colour image's planes
%   the one with the strongest gradient gives the pixel's orientation (the
%   first of equal ones). Votes are shared linearly between the two nearest
%   bins and the four nearest cells. A pixel whose gradient is not a number
%   (a NaN neighbour) casts no vote.
%
%   Errors: "Too many output arguments", "No Image -> No HoG", "Matrix is not
%   of type double" (also for sparse images), "Number of orientation bins
%   must be positive" (also below 1), "Cell size must be positive", "Block
%   size must be positive", and refusals of a non-double parameter vector, of
%   a three-dimensional image without exactly 3 planes, and of a descriptor
%   longer than 2147483647 values.
%
%   Example
%     [x, y] = meshgrid(1:64, 1:128);
%     image = double(hypot(x - 32, y - 64) < 20);    % a bright disc
%     d = gradientHistogram(image);                  % 3780 x 1
%     H = reshape(d, 9, 2, 2, 15, 7);
%     [~, bin] = max(squeeze(H(:, 1, 1, :, :)));     % strongest bin per cell

%!test
%! [x, y] = meshgrid (1:64, 1:64);
%! descriptor = gradientHistogram (double (hypot (x - 32.5, y - 32.5) < 20));
%! assert (size (descriptor), [1764 1]);
%! % Every block of 2 x 2 cells of 9 bins has unit L2 norm, or none.
%! blockNorms = sqrt (sum (reshape (descriptor, 36, []) .^ 2, 1));
%! assert (all (abs (blockNorms - 1) < 1e-3 | blockNorms == 0) && any (blockNorms > 0));
%!error <Matrix is not of type double> gradientHistogram (uint8 (ones (16)))
%!error id=clusterkit:gradientHistogram:invalidInput gradientHistogram (uint8 (ones (16)))
