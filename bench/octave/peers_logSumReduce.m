% logSumReduce against Octave's max + log(sum(exp())) on 1e7 values, in this
% Octave process: values spread far apart, and values close together.
randn('seed', 2);
for spread = {[-50, 20], [0, 1]}
  values = spread{1}(1) + spread{1}(2) * randn(1e7, 1);
  ours = peers_best_seconds(@() logSumReduce(values), 5);
  printf('logSumReduce, 1e7 values from normal(%g, %g) (best of 5): %.4f s\n', ...
         spread{1}(1), spread{1}(2), ours);
  peer = peers_best_seconds(@() max(values) + log(sum(exp(values - max(values)))), 5);
  peers_print_ratio('Octave max + log(sum(exp()))', peer, ours);
end
