% demo_70_gradientHistogram  HOG descriptor of a synthetic image: a bright disc.
% With one-cell blocks every block holds a single cell's histogram, so the
% strongest bin of a block is the dominant gradient orientation of its cell;
% the map below draws it with - / | \ (a dot where a cell has no gradient).
[x, y] = meshgrid(1:64, 1:64);
disc = double(hypot(x - 32.5, y - 32.5) < 20);
descriptor = gradientHistogram(disc);
printf('64 x 64 disc, default parameters: descriptor of %d values\n', numel(descriptor));

nbins = 9;
cellSize = 8;
% Clip 1 leaves the histograms unclipped, so that no two bins tie.
cellHistograms = gradientHistogram(disc, [nbins cellSize 1 0 1]);
cellsDown = 64 / cellSize;
cellsAcross = 64 / cellSize;
H = reshape(cellHistograms, nbins, cellsDown, cellsAcross);
[strength, bin] = max(H, [], 1);
binCentreDegrees = (squeeze(bin) - 0.5) * 180 / nbins;
glyphs = '-/|\';
glyph = glyphs(mod(round(binCentreDegrees / 45), 4) + 1);
glyph(squeeze(strength) == 0) = '.';
printf('dominant gradient orientation per %d x %d cell:\n', cellSize, cellSize);
for cellRow = 1:cellsDown
  printf('  %s\n', strjoin(cellstr(glyph(cellRow, :)')', ' '));
end
