function distMat = oracle_pairDistance(mat1, mat2)
% oracle_pairDistance  Literal element-by-element squared distances, the
% reference the plug-in must match bit for bit. With one input, each pair is
% summed once (column i against column j, i < j) and the diagonal stays 0.
  [dim, dataNum1] = size(mat1);
  if nargin < 2
    distMat = zeros(dataNum1, dataNum1);
    for i = 1:dataNum1
      for j = i+1:dataNum1
        s = column_sum(mat1, i, mat1, j, dim);
        distMat(i, j) = s;
        distMat(j, i) = s;
      end
    end
    return;
  end
  dataNum2 = size(mat2, 2);
  distMat = zeros(dataNum1, dataNum2);
  for i = 1:dataNum1
    for j = 1:dataNum2
      distMat(i, j) = column_sum(mat1, i, mat2, j, dim);
    end
  end
end

function s = column_sum(mat1, i, mat2, j, dim)
  s = 0.0;
  for d = 1:dim
    diff = mat1(d, i) - mat2(d, j);
    s = s + diff * diff;
  end
end
