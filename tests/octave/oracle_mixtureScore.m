function [logProb, mixProb] = oracle_mixtureScore(variant, data, model)
% oracle_mixtureScore  Literal scalar implementation of both mixtureScore
% variants, term by term in the library's order: the plug-ins must match it
% bit for bit. VARIANT is 'single' (MODEL = gPrm) or 'mixture' (MODEL =
% gmmParam).
  if strcmp(variant, 'single')
    logProb = single_gaussian(data, model(1).mu, model(1).sigma);
    mixProb = [];
  else
    [logProb, mixProb] = mixture(data, model);
  end
end

function logProb = single_gaussian(data, mu, sigma)
  [dim, dataNum] = size(data);
  logProb = zeros(1, dataNum);
  c = numel(sigma);
  for i = 1:dataNum
    if c == 1
      logProb(i) = gaussian01Log(data(:, i), dim, mu, sigma(1));
    elseif c == dim
      logProb(i) = gaussian02Log(data(:, i), dim, mu, sigma);
    end
  end
end

function [logProb, mixProb] = mixture(data, gmmParam)
  [dim, dataNum] = size(data);
  mixNum = size(gmmParam, 2);
  mixProb = zeros(mixNum, dataNum);
  for i = 1:dataNum
    for j = 1:mixNum
      mixProb(j, i) = gaussian01Log(data(:, i), dim, gmmParam(j).mu, gmmParam(j).sigma(1));
    end
  end
  logWeight = zeros(1, mixNum);
  for j = 1:mixNum
    logWeight(j) = log(gmmParam(j).w(1));
  end
  logProb = zeros(1, dataNum);
  for i = 1:dataNum
    weighted = zeros(1, mixNum);
    for j = 1:mixNum
      weighted(j) = logWeight(j) + mixProb(j, i);
    end
    logProb(i) = oracle_logSumReduce(weighted);
  end
  mixProb = exp(mixProb);
end

function value = gaussian01Log(x, dim, mu, variance)
  s = 0.0;
  for k = 1:dim
    d = x(k) - mu(k);
    s = s + d * d;
  end
  gConst = log(6.28318530717958 * variance) * dim;
  value = (gConst + s / variance) * (-0.5);
end

function value = gaussian02Log(x, dim, mu, sigma)
  s = 0.0;
  p = 1.0;
  for k = 1:dim
    d = x(k) - mu(k);
    s = s + d * d / sigma(k);
    p = p * sigma(k);
  end
  gConst = log(p) + dim * 1.8378770664093445;
  value = (gConst + s) * (-0.5);
end
