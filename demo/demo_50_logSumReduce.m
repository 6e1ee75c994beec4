% demo_50_logSumReduce  Adding probabilities held as logarithms.
% A mixture's log-likelihood is the log of a sum of weighted densities; with
% the per-component log-densities of the mixture demo it can be formed
% without leaving the log domain, and it matches mixtureScore.
weightLog = log([gmmParam.w])';
rebuilt = zeros(1, size(points, 2));
for p = 1:size(points, 2)
  rebuilt(p) = logSumReduce(weightLog + componentLogDensity(:, p));
end
fprintf('largest difference from the mixture variant''s log-likelihoods: %.3g\n', ...
       max(abs(rebuilt - logLikelihood)));

% Probabilities far below the smallest double: the direct sum underflows,
% the log-domain sum does not.
tiny = -1000 - (0:9);
fprintf('log(sum(exp(x))) = %g, logSumReduce(x) = %.6f for x = -1000 ... -1009\n', ...
       log(sum(exp(tiny))), logSumReduce(tiny));
% Log-probabilities of an outcome split into ten equal parts add back to it.
fprintf('logSumReduce(log(ones(1, 10) / 10)) = %.3g\n', logSumReduce(log(ones(1, 10) / 10)));
