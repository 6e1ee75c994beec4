% rlsFit against Octave's polyfit on 1,000,000 points, degree 3, in this
% Octave process. rlsFit keeps its estimator between calls, so the plug-in is
% cleared before each timed call to fit afresh.
rand('seed', 3);
randn('seed', 3);
x = rand(1, 1e6) * 4 - 2;
y = ((0.5 * x - 1) .* x - 2) .* x + 1 + 0.1 * randn(size(x));
ours = Inf;
for r = 1:3
  clear rlsFit;
  start = tic;
  coef = rlsFit(x, y, 3);
  ours = min(ours, toc(start));
end
printf('rlsFit, 1e6 points, degree 3 (best of 3): %.4f s, coefficients %s\n', ours, mat2str(coef, 6));
peer = peers_best_seconds(@() polyfit(x, y, 3), 3);
peers_print_ratio('Octave polyfit', peer, ours);
