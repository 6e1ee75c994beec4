function [center, membership, distortion] = oracle_codebookTrain(data, centerNum)
% oracle_codebookTrain  Literal batch k-means, the reference the plug-in must
% match bit for bit: at most 100 passes, the first measured against 1e6, a
% stop when the relative change falls below eps, nearest centre by the first
% strictly smaller squared distance, and a centre without members left where
% it was.
  [dim, dataNum] = size(data);
  if numel(centerNum) == 1
    k = fix(centerNum);
    center = data(:, 1:k);
  else
    k = size(centerNum, 2);
    center = reshape(centerNum(1:dim*k), dim, k);
  end
  previous = 1e6;
  distortion = zeros(0, 1);
  for pass = 1:100
    [memberIndex, total] = assign(data, center);
    memberCount = zeros(1, k);
    sums = zeros(dim, k);
    for j = 1:dataNum
      m = memberIndex(j);
      memberCount(m) = memberCount(m) + 1;
      for d = 1:dim
        sums(d, m) = sums(d, m) + data(d, j);
      end
    end
    for c = 1:k
      if memberCount(c) > 0
        center(:, c) = sums(:, c) / memberCount(c);
      end
    end
    distortion(pass, 1) = total;
    if abs(previous - total) / previous < eps
      break;
    end
    previous = total;
  end
  membership = zeros(k, dataNum);
  for j = 1:dataNum
    membership(memberIndex(j), j) = 1;
  end
end

function [memberIndex, total] = assign(data, center)
  [dim, dataNum] = size(data);
  memberIndex = zeros(1, dataNum);
  total = 0.0;
  for j = 1:dataNum
    best = 1;
    bestDistance = 0.0;
    for c = 1:size(center, 2)
      s = 0.0;
      for d = 1:dim
        diff = data(d, j) - center(d, c);
        s = s + diff * diff;
      end
      if c == 1 || bestDistance > s
        bestDistance = s;
        best = c;
      end
    end
    memberIndex(j) = best;
    total = total + bestDistance;
  end
end
