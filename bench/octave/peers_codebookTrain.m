% codebookTrain against VLFeat's Elkan k-means (octave-vlfeat), dim 16,
% 100,000 vectors in 64 clusters, seconds per pass, in this Octave process.
vlfeat = '/usr/lib/x86_64-linux-gnu/octave/site/oct/x86_64-pc-linux-gnu/vlfeat/toolbox';
if exist(vlfeat, 'dir')
  addpath(vlfeat);
end
rand('seed', 17);
randn('seed', 17);
means = 20 * rand(16, 64) - 10;
data = means(:, floor(rand(1, 100000) * 64) + 1) + randn(16, 100000);
start = tic;
[~, ~, distortion] = codebookTrain(data, data(:, 1:64));
ours = toc(start) / numel(distortion);
printf('codebookTrain k-means, dim 16, 100000 vectors, 64 centres: %d passes, %.4f s per pass\n', ...
       numel(distortion), ours);
if exist('vl_kmeans') == 3
  iterations = 20;
  start = tic;
  vl_kmeans(data, 64, 'Algorithm', 'Elkan', 'MaxNumIterations', iterations, ...
            'Initialization', 'randsel', 'NumRepetitions', 1);
  % At most that many iterations: the per-iteration figure is a lower bound.
  peers_print_ratio('VLFeat vl_kmeans Elkan (per iteration)', toc(start) / iterations, ours);
else
  printf('    VLFeat: not installed (octave-vlfeat)\n');
end
