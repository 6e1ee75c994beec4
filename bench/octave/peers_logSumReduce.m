% logSumReduce against Octave's max + log(sum(exp())) on 1e7 values, in this
% Octave process.
randn('seed', 2);
values = -50 + 20 * randn(1e7, 1);
ours = peers_best_seconds(@() logSumReduce(values), 5);
printf('logSumReduce, 1e7 values from normal(-50, 20) (best of 5): %.4f s\n', ours);
peer = peers_best_seconds(@() max(values) + log(sum(exp(values - max(values)))), 5);
peers_print_ratio('Octave max + log(sum(exp()))', peer, ours);
