% demo_30_codebookTrain  A k-means codebook of three centres trained on the
% demo's points, with the distortion of every pass. Leaves `codebook`
% (2 x 3, one centre per column) for later demos.
[codebook, membership, distortion] = codebookTrain(points, 3);
printf('k-means settled after %d passes; total distortion per pass:\n', numel(distortion));
printf('  %10.4f\n', distortion);
for c = 1:3
  printf('centre %d at (%6.3f, %6.3f) with %d points\n', c, codebook(:, c), sum(membership(c, :)));
end

% A starting codebook instead of a count: begin at the class centres.
fromCentres = codebookTrain(points, classCentres);
printf('trained from the class centres:\n');
disp(fromCentres);
