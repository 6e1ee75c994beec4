% mixtureScore against the same log-likelihoods from Octave's own matrix
% arithmetic (expanded squared distances through the BLAS, max-shifted
% log-sum), dim 39, 100,000 frames, 64 spherical mixtures, in this Octave
% process. mixtureScore prints the model it scores; its output is captured.
randn('seed', 1);
rand('seed', 1);
dim = 39; frames = 1e5; mixtures = 64;
data = randn(dim, frames);
model = struct('mu', num2cell(randn(dim, mixtures), 1), ...
               'sigma', num2cell(0.5 + 1.5 * rand(1, mixtures)), ...
               'w', num2cell(ones(1, mixtures) / mixtures));
ours = peers_best_seconds(@() evalc('mixtureScore(data, model);'), 3);
printf('mixtureScore, dim %d, %d frames, %d mixtures, one output (best of 3): %.4f s\n', ...
       dim, frames, mixtures, ours);
means = [model.mu];
variances = [model.sigma]';
logWeights = log([model.w]');
function logProb = octave_scores(data, means, variances, logWeights)
  dim = rows(data);
  squared = sum(means .^ 2, 1)' + sum(data .^ 2, 1) - 2 * (means' * data);
  logDensity = logWeights - 0.5 * (dim * log(6.28318530717958 * variances) + squared ./ variances);
  top = max(logDensity, [], 1);
  logProb = top + log(sum(exp(logDensity - top), 1));
end
peer = peers_best_seconds(@() octave_scores(data, means, variances, logWeights), 3);
peers_print_ratio('Octave + BLAS formula', peer, ours);
