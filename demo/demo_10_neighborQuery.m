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
  printf('L%d norm, k = %d, leave-one-out accuracy: %.1f%%\n', method, k, ...
         100 * mean(predicted == labels));
end

% All queries at once: the 3 nearest data points of each class centre.
[nnIndex, nnDistance] = neighborQuery(classCentres, points, 2, 3);
for c = 1:3
  printf('centre (%g, %g): nearest points %s at distances %s\n', classCentres(:, c), ...
         mat2str(nnIndex(:, c)'), mat2str(nnDistance(:, c)', 3));
end
