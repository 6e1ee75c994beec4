function d = oracle_gradientHistogram(img, params)
% oracle_gradientHistogram  Literal HOG descriptor, one pixel and one block at
% a time, with every single-precision rounding written out (single() where
% the computation is single, double() before mixing, since Octave would
% otherwise compute in single). The plug-in must match it bit for bit.
  defaults = [9 8 2 0 0.2];
  if nargin < 2
    params = defaults;
  end
  params = [params(:)', defaults(numel(params)+1:end)];
  nbins = fix(params(1));
  cellSize = params(2);
  bs = fix(params(3));
  signedMode = fix(params(4)) == 1;
  clip = params(5);
  img = real(img);
  rows = size(img, 1);
  if ndims(img) == 3
    planes = 3;
    cols = size(img, 2);
  else
    planes = 1;
    cols = numel(img) / max(rows, 1);
    img = reshape(img, rows, cols);
  end
  GY = fix(ceil(rows / cellSize - 0.5) + 2);
  GX = fix(ceil(cols / cellSize - 0.5) + 2);
  NBY = GY - bs - 1;
  NBX = GX - bs - 1;
  d = zeros(0, 1);
  if NBY < 1 || NBX < 1
    return;
  end
  if signedMode
    R = single(6.2831855);
  else
    R = single(3.1415927);
  end
  w = double(R / single(nbins));
  hist = zeros(GY, GX, nbins);

  for y = 0:rows-1
    for x = 0:cols-1
      m = single(0);
      theta = single(0);
      for c = 1:planes
        I = img(:, :, c);
        if cols == 1
          ddx = 0;
        elseif x == 0
          ddx = I(y+1, 2);
        elseif x == cols - 1
          ddx = -I(y+1, cols-1);
        else
          ddx = I(y+1, x+2) - I(y+1, x);
        end
        if rows == 1
          ddy = 0;
        elseif y == 0
          ddy = -I(2, x+1);
        elseif y == rows - 1
          ddy = I(rows-1, x+1);
        else
          ddy = I(y, x+1) - I(y+2, x+1);
        end
        dx = single(ddx);
        dy = single(ddy);
        mc = sqrt(dx * dx + dy * dy);
        tc = single(atan2(double(dy), double(dx)));
        if c == 1 || mc > m
          m = mc;
          theta = tc;
        end
      end
      if isnan(theta)
        continue;
      end
      if theta < 0
        theta = theta + R;
      end
      k = floor(double(theta) / w + 0.5);
      lower = k - 1;
      if k == 0
        lower = nbins - 1;
      end
      upper = k;
      if k == nbins
        upper = 0;
      end
      binCentre = single((k - 0.5) * w);
      wo = double(theta - binCentre) / w;
      cy = floor(y / cellSize + 0.5);
      wy = double(single(y + 1) - single((cy - 0.5) * cellSize + 0.5)) / cellSize;
      cx = floor(x / cellSize + 0.5);
      wx = double(single(x + 1) - single((cx - 0.5) * cellSize + 0.5)) / cellSize;
      md = double(m);
      rowsW = [cy, 1 - wy; cy + 1, wy];
      colsW = [cx, 1 - wx; cx + 1, wx];
      binsW = [lower, 1 - wo; upper, wo];
      for r = 1:2
        for s = 1:2
          for b = 1:2
            gy = rowsW(r, 1) + 1;
            gx = colsW(s, 1) + 1;
            bin = binsW(b, 1) + 1;
            hist(gy, gx, bin) = hist(gy, gx, bin) + md * rowsW(r, 2) * colsW(s, 2) * binsW(b, 2);
          end
        end
      end
    end
  end

  d = zeros(nbins * bs * bs * NBY * NBX, 1);
  buf = zeros(nbins, bs, bs);   % buf(bin, j, i): row offset i outer, bin inner
  for bx = 1:NBX
    for by = 1:NBY
      s1 = single(0);
      for i = 0:bs-1
        for j = 0:bs-1
          for b = 1:nbins
            h = hist(by + i + 1, bx + j + 1, b);
            s1 = single(double(s1) + h * h);
          end
        end
      end
      norm1 = sqrt(s1);
      for i = 0:bs-1
        for j = 0:bs-1
          for b = 1:nbins
            v = 0;
            if norm1 > 0
              v = hist(by + i + 1, bx + j + 1, b) / double(norm1);
              if v > clip
                v = clip;
              end
            end
            buf(b, j+1, i+1) = v;
          end
        end
      end
      s2 = single(0);
      for i = 0:bs-1
        for j = 0:bs-1
          for b = 1:nbins
            s2 = single(double(s2) + buf(b, j+1, i+1) * buf(b, j+1, i+1));
          end
        end
      end
      norm2 = sqrt(s2);
      for i = 0:bs-1
        for j = 0:bs-1
          for b = 0:nbins-1
            at = ((((bx - 1) * NBY + (by - 1)) * bs + i) * bs + j) * nbins + b + 1;
            if norm2 > 0
              d(at) = buf(b+1, j+1, i+1) / double(norm2);
            else
              d(at) = 0;
            end
          end
        end
      end
    end
  end
end
