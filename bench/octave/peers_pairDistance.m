% pairDistance against the BLAS formula |x|^2 + |y|^2 - 2 x'y (Octave's BLAS,
% OpenBLAS when installed), two inputs of 2,000 columns of dim 64 and one
% input of 2,000, in this Octave process.
try
  printf('Octave %s, BLAS: %s\n', version(), version('-blas'));
catch
  printf('Octave %s\n', version());
end
rand('seed', 1);
x = 2 * rand(64, 2000) - 1;
y = 2 * rand(64, 2000) - 1;
ours = peers_best_seconds(@() pairDistance(x, y), 5);
printf('pairDistance, dim 64, 2000 x 2000 columns (best of 5): %.4f s\n', ours);
peer = peers_best_seconds(@() sum(x .^ 2, 1)' + sum(y .^ 2, 1) - 2 * (x' * y), 5);
peers_print_ratio('BLAS formula', peer, ours);
ours = peers_best_seconds(@() pairDistance(x), 5);
printf('pairDistance, dim 64, one input of 2000 columns (best of 5): %.4f s\n', ours);
s = sum(x .^ 2, 1);
peer = peers_best_seconds(@() s' + s - 2 * (x' * x), 5);
peers_print_ratio('BLAS formula', peer, ours);
