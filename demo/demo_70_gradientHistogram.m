% demo_70_gradientHistogram  HOG descriptor of a synthetic image: a bright disc.
% With one-cell blocks every block holds a single cell's histogram, so the
% strongest bin of a block is the dominant gradient orientation of its cell;
% the map below draws it with - / | \ (a dot where a cell has no gradient).
[x, y] = meshgrid(1:64, 1:64);
disc = double(hypot(x - 32.5, y - 32.5) < 20);
descriptor = gradientHistogram(disc);
fprintf('64 x 64 disc, default parameters: descriptor of %d values\n', numel(descriptor));

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
fprintf('dominant gradient orientation per %d x %d cell:\n', cellSize, cellSize);
for cellRow = 1:cellsDown
  fprintf('  %s\n', strjoin(cellstr(glyph(cellRow, :)')', ' '));
end

% Figure: each cell's histogram drawn as a star of segments over the image,
% one per bin, along the edge direction of the bin (at right angles to the
% gradient) and as long as the bin's share of the cell's votes.
figure('Visible', 'off', 'Tag', 'clusterkitDemo', 'Name', 'gradientHistogram_orientations');
imagesc(disc);
colormap(gray);
axis image;
hold on;
gradientAngle = ((1:nbins) - 0.5) * pi / nbins;   % bin centres; y points up
edgeAngle = gradientAngle + pi / 2;
for cellRow = 1:cellsDown
  for cellColumn = 1:cellsAcross
    weights = H(:, cellRow, cellColumn)';
    centreX = (cellColumn - 0.5) * cellSize + 0.5;
    centreY = (cellRow - 0.5) * cellSize + 0.5;
    halfLength = 0.5 * cellSize * weights;
    % Image rows grow downwards, hence the minus sign of the y component.
    glyphX = [centreX - halfLength .* cos(edgeAngle); centreX + halfLength .* cos(edgeAngle)];
    glyphY = [centreY + halfLength .* sin(edgeAngle); centreY - halfLength .* sin(edgeAngle)];
    plot(glyphX(:, weights > 0), glyphY(:, weights > 0), 'r-', 'LineWidth', 1.5);
  end
end
hold off;
title(sprintf('gradientHistogram: %d-bin orientations of %d x %d cells', nbins, cellSize, cellSize));
xlabel('column (pixels)');
ylabel('row (pixels)');
