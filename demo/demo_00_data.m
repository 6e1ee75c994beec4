% demo_00_data  The demo's data: 2-D points from three Gaussian classes.
%   points  2 x 300, one point per column
%   labels  1 x 300, class 1..3 of each point
% Later demos use these variables.
rand('seed', 42);
randn('seed', 42);
classCentres = [0 4 2; 0 0 3.5];
pointsPerClass = 100;
points = zeros(2, 3 * pointsPerClass);
labels = zeros(1, 3 * pointsPerClass);
for classIndex = 1:3
  columns = (classIndex - 1) * pointsPerClass + (1:pointsPerClass);
  points(:, columns) = classCentres(:, classIndex) + 0.9 * randn(2, pointsPerClass);
  labels(columns) = classIndex;
end
fprintf('%d points in 2-D from %d classes\n', size(points, 2), 3);
