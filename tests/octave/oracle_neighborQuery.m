function [nnIndex, nnDistance] = oracle_neighborQuery(mat1, mat2, method, nnCount, skipIndex)
% oracle_neighborQuery  Literal element-by-element search, the reference the
% plug-in must match bit for bit. A candidate abandoned at its bound never
% enters the slot list.
  if nargin < 3, method = 2; end
  if nargin < 4, nnCount = 1; end
  if nargin < 5, skipIndex = []; end
  method = fix(method);
  nnCount = fix(nnCount);
  [dim, dataNum1] = size(mat1);
  dataNum2 = size(mat2, 2);
  nnIndex = zeros(nnCount, dataNum1);
  nnDistance = zeros(nnCount, dataNum1);
  for c = 1:dataNum1
    slotDist = repmat(realmax, nnCount, 1);
    slotIdx = -ones(nnCount, 1);
    for i = 0:dataNum2-1
      if any(skipIndex(:) - 1.0 == i)
        continue;
      end
      bound = slotDist(end);
      s = 0.0;
      abandoned = false;
      for k = 1:dim
        d = mat1(k, c) - mat2(k, i+1);
        if method == 1
          if d > 0, s = s + d; else, s = s + -d; end
        else
          s = s + d * d;
        end
        if s > bound
          abandoned = true;
          break;
        end
      end
      if abandoned
        continue;
      end
      j = find(slotDist > s, 1);
      if isempty(j)
        continue;
      end
      slotDist(j+1:end) = slotDist(j:end-1);
      slotIdx(j+1:end) = slotIdx(j:end-1);
      slotDist(j) = s;
      slotIdx(j) = i;
    end
    nnIndex(:, c) = slotIdx;
    nnDistance(:, c) = slotDist;
  end
  nnIndex = nnIndex + 1;
  if method == 2
    nnDistance = sqrt(nnDistance);
  end
end
