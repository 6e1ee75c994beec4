% demo_10_neighborQuery  A k-nearest-neighbour classifier of the demo's points.
% Every point is classified by a vote of its k nearest other points
% (leave-one-out: the point itself is passed in the skip list).
k = 5;
for method = [1 2]
  predicted = zeros(size(labels));
  for p = 1:size(points, 2)
    nnIndex = neighborQuery(points(:, p), points, method, k, p);
    predicted(p) = mode(labels(nnIndex));
  end
  fprintf('L%d norm, k = %d, leave-one-out accuracy: %.1f%%\n', method, k, ...
         100 * mean(predicted == labels));
end

% All queries at once: the 3 nearest data points of each class centre.
[nnIndex, nnDistance] = neighborQuery(classCentres, points, 2, 3);
for c = 1:3
  fprintf('centre (%g, %g): nearest points %s at distances %s\n', classCentres(:, c), ...
         mat2str(nnIndex(:, c)'), mat2str(nnDistance(:, c)', 3));
end

% Figure: the 5-NN decision regions over a grid, with the labelled points.
gridX = linspace(min(points(1, :)) - 1, max(points(1, :)) + 1, 160);
gridY = linspace(min(points(2, :)) - 1, max(points(2, :)) + 1, 120);
[gridXX, gridYY] = meshgrid(gridX, gridY);
gridNeighbours = neighborQuery([gridXX(:)'; gridYY(:)'], points, 2, k);
gridClass = reshape(mode(labels(gridNeighbours), 1), size(gridXX));
classColours = [0.85 0.2 0.2; 0.2 0.55 0.2; 0.2 0.3 0.85];
figure('Visible', 'off', 'Tag', 'clusterkitDemo', 'Name', 'neighborQuery_knn_regions');
image(gridX, gridY, reshape(0.75 + 0.25 * classColours(gridClass, :), [size(gridClass) 3]));
axis xy;
hold on;
for classIndex = 1:3
  members = labels == classIndex;
  plot(points(1, members), points(2, members), 'o', 'MarkerSize', 4, ...
       'MarkerEdgeColor', classColours(classIndex, :), 'MarkerFaceColor', classColours(classIndex, :));
end
hold off;
legend('class 1', 'class 2', 'class 3', 'Location', 'northeast');
title(sprintf('neighborQuery: %d-NN decision regions (L2 norm)', k));
xlabel('x_1');
ylabel('x_2');
