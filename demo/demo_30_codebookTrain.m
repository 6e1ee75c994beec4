% demo_30_codebookTrain  A k-means codebook of three centres trained on the
% demo's points, with the distortion of every pass. Leaves `codebook`
% (2 x 3, one centre per column) for later demos.
[codebook, membership, distortion] = codebookTrain(points, 3);
fprintf('k-means settled after %d passes; total distortion per pass:\n', numel(distortion));
fprintf('  %10.4f\n', distortion);
for c = 1:3
  fprintf('centre %d at (%6.3f, %6.3f) with %d points\n', c, codebook(:, c), sum(membership(c, :)));
end

% A starting codebook instead of a count: begin at the class centres.
fromCentres = codebookTrain(points, classCentres);
fprintf('trained from the class centres:\n');
disp(fromCentres);

% Figure: every point joined to the centre it belongs to.
memberColours = [0.85 0.2 0.2; 0.2 0.55 0.2; 0.2 0.3 0.85];
figure('Visible', 'off', 'Tag', 'clusterkitDemo', 'Name', 'codebookTrain_centres');
hold on;
for c = 1:3
  members = find(membership(c, :));
  linkX = [points(1, members); repmat(codebook(1, c), 1, numel(members))];
  linkY = [points(2, members); repmat(codebook(2, c), 1, numel(members))];
  plot(linkX, linkY, '-', 'Color', 0.6 + 0.4 * memberColours(c, :));
  plot(points(1, members), points(2, members), 'o', 'MarkerSize', 4, ...
       'MarkerEdgeColor', memberColours(c, :), 'MarkerFaceColor', memberColours(c, :));
end
plot(codebook(1, :), codebook(2, :), 'kp', 'MarkerSize', 16, 'MarkerFaceColor', 'y');
hold off;
axis equal;
title(sprintf('codebookTrain: 3 centres after %d passes, with their members', numel(distortion)));
xlabel('x_1');
ylabel('x_2');
