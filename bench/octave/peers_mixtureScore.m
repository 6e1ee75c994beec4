% mixtureScore against the same log-likelihoods from Octave's own matrix
% arithmetic (expanded squared distances through the BLAS, max-shifted
% log-sum), dim 39, 100,000 frames, 64 spherical mixtures, in this Octave
% process. mixtureScore prints the model it scores to the process's standard
% output (run_peers.sh keeps only the result lines).
randn('seed', 1);
rand('seed', 1);
dim = 39; frames = 1e5; mixtures = 64;
data = randn(dim, frames);
model = struct('mu', num2cell(randn(dim, mixtures), 1), ...
               'sigma', num2cell(0.5 + 1.5 * rand(1, mixtures)), ...
               'w', num2cell(ones(1, mixtures) / mixtures));
ours = peers_best_seconds(@() mixtureScore(data, model), 3);
printf('mixtureScore, dim %d, %d frames, %d mixtures, one output (best of 3): %.4f s\n', ...
       dim, frames, mixtures, ours);
means = [model.mu];
variances = [model.sigma]';
logWeights = log([model.w]');
peer = peers_best_seconds(@() peers_octave_mixture_scores(data, means, variances, logWeights), 3);
peers_print_ratio('Octave + BLAS formula', peer, ours);
