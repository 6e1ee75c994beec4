function logProb = peers_octave_mixture_scores(data, means, variances, logWeights)
  % Log-likelihood of each column of data under spherical mixtures in
  % Octave's own arithmetic: squared distances expanded through the BLAS,
  % then a max-shifted log-sum per column.
  dim = rows(data);
  squared = sum(means .^ 2, 1)' + sum(data .^ 2, 1) - 2 * (means' * data);
  logDensity = logWeights - 0.5 * (dim * log(6.28318530717958 * variances) + squared ./ variances);
  top = max(logDensity, [], 1);
  logProb = top + log(sum(exp(logDensity - top), 1));
end
