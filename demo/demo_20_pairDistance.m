% demo_20_pairDistance  Squared distances among a handful of the demo's points,
% and from every point to the class centres.
few = points(:, [1 2 101 201]);
distMat = pairDistance(few);
fprintf('squared distances among points 1, 2, 101 and 201:\n');
disp(distMat);
fprintf('as Euclidean distances:\n');
disp(sqrt(distMat));

% Nearest class centre of every point: one 300 x 3 distance matrix.
[~, nearestCentre] = min(pairDistance(points, classCentres), [], 2);
fprintf('nearest class centre agrees with the label for %.1f%% of the points\n', ...
       100 * mean(nearestCentre' == labels));
