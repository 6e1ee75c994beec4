% demo_40_mixtureScore  Gaussian models of the demo's points.
% A mixture with one component per centre (the trained codebook when the
% codebook demo has run, else the true class centres), each with the
% variance and share of the points nearest to it; the points are scored
% under it and classified by their best single Gaussian. Then the example
% model file of docs/ is read and scored in the same way.
% Both variants are built: find the name of each in this build.
if exist('mixtureScoreMixture') == 3
  mixtureVariant = 'mixtureScoreMixture';
  singleVariant = 'mixtureScore';
else
  mixtureVariant = 'mixtureScore';
  singleVariant = 'mixtureScoreSingle';
end
if exist('codebook', 'var')
  modelCentres = codebook;
  fprintf('model built from the trained codebook (%d centres)\n', size(codebook, 2));
else
  modelCentres = classCentres;
  fprintf('model built from the class centres\n');
end
centreCount = size(modelCentres, 2);
nearest = neighborQuery(points, modelCentres, 2, 1);
gmmParam = struct('mu', {}, 'sigma', {}, 'w', {});
for c = 1:centreCount
  members = points(:, nearest == c);
  gmmParam(c).mu = modelCentres(:, c);
  % One variance per component, shared by both dimensions.
  gmmParam(c).sigma = max(mean(sum((members - modelCentres(:, c)).^2, 1)) / 2, 0.01);
  gmmParam(c).w = max(size(members, 2), 1) / size(points, 2);
end

% The mixture variant prints the model it was given and three progress lines.
[logLikelihood, componentDensity] = feval(mixtureVariant, points, gmmParam);
fprintf('mean log-likelihood of the points under the %d-component mixture: %.4f\n', ...
       centreCount, mean(logLikelihood));

% One single-Gaussian score per component; each call prints mean and variance.
componentLogDensity = zeros(centreCount, size(points, 2));
for c = 1:centreCount
  componentLogDensity(c, :) = feval(singleVariant, points, gmmParam(c));
end
[~, best] = max(componentLogDensity, [], 1);
fprintf('largest difference between log(mixProb) and the single-Gaussian scores: %.3g\n', ...
       max(max(abs(log(componentDensity) - componentLogDensity))));
% A codebook's components come in no particular class order: name each one
% after the class most of its points belong to.
componentClass = zeros(1, centreCount);
for c = 1:centreCount
  if any(best == c)
    componentClass(c) = mode(labels(best == c));
  end
end
fprintf('points whose best component stands for their own class: %.1f%%\n', ...
       100 * mean(componentClass(best) == labels));

% The example model file (its format: docs/mixture-model-file.md).
% It lies in docs/ of the sources, and beside the demo in the installed package.
modelFile = fullfile(fileparts(mfilename('fullpath')), 'example_model.gmm');
if ~exist(modelFile, 'file')
  modelFile = fullfile(fileparts(mfilename('fullpath')), '..', 'docs', 'example_model.gmm');
end
tokens = strsplit(strtrim(fileread(modelFile)));
item = @(tag) find(strcmp(tokens, tag), 1);
fileDim = str2double(tokens{item('<dim>') + 1});
fileMixNum = str2double(tokens{item('<mixNum>') + 1});
numbersAfter = @(tag, count) str2double(tokens(item(tag) + (1:count)));
fileMeans = reshape(numbersAfter('<mean>', fileDim * fileMixNum), fileDim, fileMixNum);
fileVariances = numbersAfter('<covariance>', fileMixNum);
fileWeights = numbersAfter('<weight>', fileMixNum);
fileModel = struct('mu', num2cell(fileMeans, 1), 'sigma', num2cell(fileVariances), ...
                   'w', num2cell(fileWeights));
fileLogLikelihood = feval(mixtureVariant, points, fileModel);
fprintf('mean log-likelihood under %s: %.4f\n', 'docs/example_model.gmm', mean(fileLogLikelihood));

% Figure: the mixture's log-likelihood over the plane as a contour map.
mapX = linspace(min(points(1, :)) - 1.5, max(points(1, :)) + 1.5, 90);
mapY = linspace(min(points(2, :)) - 1.5, max(points(2, :)) + 1.5, 70);
[mapXX, mapYY] = meshgrid(mapX, mapY);
mapLogLikelihood = reshape(feval(mixtureVariant, [mapXX(:)'; mapYY(:)'], gmmParam), size(mapXX));
figure('Visible', 'off', 'Tag', 'clusterkitDemo', 'Name', 'mixtureScore_loglikelihood');
contour(mapX, mapY, mapLogLikelihood, -12:0.75:-2);
colorbar;
hold on;
plot(points(1, :), points(2, :), 'k.', 'MarkerSize', 4);
plot(modelCentres(1, :), modelCentres(2, :), 'r+', 'MarkerSize', 12, 'LineWidth', 2);
hold off;
axis equal;
title(sprintf('mixtureScore: log-likelihood under the %d-component mixture', centreCount));
xlabel('x_1');
ylabel('x_2');
