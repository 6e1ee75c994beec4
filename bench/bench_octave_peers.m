% bench_octave_peers  The plug-ins against the peers an Octave user has at
% hand, in one Octave process, one thread (run it through scripts/bench.sh,
% which sets OMP_NUM_THREADS and OPENBLAS_NUM_THREADS to 1):
%   pairDistance, two inputs of 2,000 columns of dim 64 and one input of
%   2,000, against the BLAS formula |x|^2 + |y|^2 - 2 x'y (Octave's BLAS,
%   OpenBLAS when installed);
%   codebookTrain, dim 16, 100,000 vectors, 64 centres, seconds per pass,
%   against VLFeat's Elkan k-means (octave-vlfeat) per iteration.
% CLUSTERKIT_MEX_DIR names the folder of the built plug-ins.
function bench_octave_peers()
  addpath(getenv('CLUSTERKIT_MEX_DIR'));
  vlfeat = '/usr/lib/x86_64-linux-gnu/octave/site/oct/x86_64-pc-linux-gnu/vlfeat/toolbox';
  if exist(vlfeat, 'dir')
    addpath(vlfeat);
  end
  printf('Octave %s, BLAS: %s\n', version(), blas_name());
  printf('(the plug-ins run on the best instruction set of this processor: see the\n');
  printf(' C++ benchmarks for which one, and --target to compare the others)\n');

  rand('seed', 1);
  x = 2 * rand(64, 2000) - 1;
  y = 2 * rand(64, 2000) - 1;
  printf('pairDistance, dim 64, 2000 x 2000 columns, best of 5\n');
  ours = best_of(5, @() pairDistance(x, y));
  peer = best_of(5, @() blas_formula(x, y));
  report('two inputs', ours, 'BLAS formula', peer);
  ours = best_of(5, @() pairDistance(x));
  peer = best_of(5, @() blas_formula_one(x));
  report('one input', ours, 'BLAS formula', peer);

  [data, start] = clustered_data(16, 100000, 64);
  printf('codebookTrain k-means, dim 16, 100000 vectors, 64 centres\n');
  tic;
  [~, ~, distortion] = codebookTrain(data, start);
  ours = toc / numel(distortion);
  printf('  clusterkit: %d passes, %.4f s per pass\n', numel(distortion), ours);
  if exist('vl_kmeans') == 3
    iterations = 20;
    tic;
    vl_kmeans(data, 64, 'Algorithm', 'Elkan', 'MaxNumIterations', iterations, ...
              'Initialization', 'randsel', 'NumRepetitions', 1);
    peer = toc / iterations; % at most that many: the per-iteration figure is a lower bound
    report_peer('VLFeat vl_kmeans Elkan (per iteration)', peer, ours);
  else
    printf('    VLFeat: not installed (octave-vlfeat)\n');
  end
end

function name = blas_name()
  name = 'unknown';
  try
    name = version('-blas');
  catch
  end
end

function d = blas_formula(x, y)
  d = sum(x .^ 2, 1)' + sum(y .^ 2, 1) - 2 * (x' * y);
end

function d = blas_formula_one(x)
  s = sum(x .^ 2, 1);
  d = s' + s - 2 * (x' * x);
end

function [data, start] = clustered_data(dim, n, k)
  rand('seed', 17);
  randn('seed', 17);
  means = 20 * rand(dim, k) - 10;
  data = means(:, floor(rand(1, n) * k) + 1) + randn(dim, n);
  start = data(:, 1:k);
end

function t = best_of(repeats, fn)
  t = Inf;
  for r = 1:repeats
    tic;
    fn();
    t = min(t, toc);
  end
end

function report(what, ours, peer_name, peer)
  printf('  %s: clusterkit %.4f s\n', what, ours);
  report_peer(peer_name, peer, ours);
end

function report_peer(name, peer, ours)
  ratio = peer / ours;
  if ratio >= 1
    printf('    %-40s %.4f s   ratio %.2fx (clusterkit faster)\n', name, peer, ratio);
  else
    printf('    %-40s %.4f s   ratio %.2fx (peer faster)\n', name, peer, 1 / ratio);
  end
end
