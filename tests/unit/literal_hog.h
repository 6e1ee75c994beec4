// HoG as a literal pixel-by-pixel and block-by-block computation: the
// oracle that the library's descriptor must match bit for bit (the unit
// tests), and its baseline (the benchmark).
#ifndef CLUSTERKIT_LITERAL_HOG_H
#define CLUSTERKIT_LITERAL_HOG_H

#include <cmath>
#include <cstddef>
#include <vector>

// The descriptor computed step by step, one pixel and one block at a time,
// with every single-precision rounding written out: the reference the
// library must match bit for bit.
inline std::vector<double> literalHoG(const std::vector<double> &image, const std::vector<double> &params,
                               int rows, int cols, bool grey) {
  const int nbins = static_cast<int>(params[0]);
  const double cell = params[1];
  const int bs = static_cast<int>(params[2]);
  const int mode = static_cast<int>(params[3]);
  const double clip = params[4];
  const int GY = static_cast<int>(std::ceil(rows / cell - 0.5) + 2);
  const int GX = static_cast<int>(std::ceil(cols / cell - 0.5) + 2);
  const int NBY = GY - bs - 1;
  const int NBX = GX - bs - 1;
  if (NBY < 1 || NBX < 1)
    return {};
  const float R = mode == 1 ? 6.2831855f : 3.1415927f;
  const double w = static_cast<double>(R / nbins);
  std::vector<double> hist(static_cast<std::size_t>(GY) * GX * nbins, 0.0);
  auto H = [&](int gy, int gx, int b) -> double & { return hist[(gy * GX + gx) * nbins + b]; };
  const int planes = grey ? 1 : 3;

  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      float m = 0, theta = 0;
      for (int c = 0; c < planes; ++c) {
        auto I = [&](int yy, int xx) { return image[yy + xx * rows + c * rows * cols]; };
        double ddx, ddy;
        if (cols == 1)
          ddx = 0;
        else if (x == 0)
          ddx = I(y, 1);
        else if (x == cols - 1)
          ddx = -I(y, cols - 2);
        else
          ddx = I(y, x + 1) - I(y, x - 1);
        if (rows == 1)
          ddy = 0;
        else if (y == 0)
          ddy = -I(1, x);
        else if (y == rows - 1)
          ddy = I(rows - 2, x);
        else
          ddy = I(y - 1, x) - I(y + 1, x);
        const float dx = static_cast<float>(ddx);
        const float dy = static_cast<float>(ddy);
        const float mc = sqrtf(dx * dx + dy * dy);
        const float tc = static_cast<float>(atan2(static_cast<double>(dy), static_cast<double>(dx)));
        if (c == 0 || mc > m) {
          m = mc;
          theta = tc;
        }
      }
      if (std::isnan(theta))
        continue;
      if (theta < 0)
        theta = theta + R;
      const int k = static_cast<int>(std::floor(static_cast<double>(theta) / w + 0.5));
      const int lower = k == 0 ? nbins - 1 : k - 1;
      const int upper = k == nbins ? 0 : k;
      const float binCentre = static_cast<float>((k - 0.5) * w);
      const double wo = static_cast<double>(theta - binCentre) / w;

      const int cy = static_cast<int>(std::floor(y / cell + 0.5));
      const float yCentre = static_cast<float>((cy - 0.5) * cell + 0.5);
      const double wy = static_cast<double>(static_cast<float>(y + 1) - yCentre) / cell;
      const int cx = static_cast<int>(std::floor(x / cell + 0.5));
      const float xCentre = static_cast<float>((cx - 0.5) * cell + 0.5);
      const double wx = static_cast<double>(static_cast<float>(x + 1) - xCentre) / cell;

      const double md = m;
      H(cy, cx, lower) += md * (1 - wy) * (1 - wx) * (1 - wo);
      H(cy, cx, upper) += md * (1 - wy) * (1 - wx) * wo;
      H(cy, cx + 1, lower) += md * (1 - wy) * wx * (1 - wo);
      H(cy, cx + 1, upper) += md * (1 - wy) * wx * wo;
      H(cy + 1, cx, lower) += md * wy * (1 - wx) * (1 - wo);
      H(cy + 1, cx, upper) += md * wy * (1 - wx) * wo;
      H(cy + 1, cx + 1, lower) += md * wy * wx * (1 - wo);
      H(cy + 1, cx + 1, upper) += md * wy * wx * wo;
    }

  std::vector<double> out(static_cast<std::size_t>(nbins) * bs * bs * NBY * NBX);
  std::vector<double> buf(static_cast<std::size_t>(bs) * bs * nbins, 0.0);
  for (int bx = 1; bx <= NBX; ++bx)
    for (int by = 1; by <= NBY; ++by) {
      float s1 = 0;
      for (int i = 0; i < bs; ++i)
        for (int j = 0; j < bs; ++j)
          for (int b = 0; b < nbins; ++b)
            s1 = static_cast<float>(s1 + H(by + i, bx + j, b) * H(by + i, bx + j, b));
      const float norm1 = sqrtf(s1);
      for (int i = 0; i < bs; ++i)
        for (int j = 0; j < bs; ++j)
          for (int b = 0; b < nbins; ++b) {
            double &v = buf[(i * bs + j) * nbins + b];
            if (norm1 > 0) {
              v = H(by + i, bx + j, b) / norm1;
              if (v > clip)
                v = clip;
            } else {
              v = 0;
            }
          }
      float s2 = 0;
      for (double v : buf)
        s2 = static_cast<float>(s2 + v * v);
      const float norm2 = sqrtf(s2);
      for (int i = 0; i < bs; ++i)
        for (int j = 0; j < bs; ++j)
          for (int b = 0; b < nbins; ++b) {
            const std::size_t at =
                (((static_cast<std::size_t>(bx - 1) * NBY + (by - 1)) * bs + i) * bs + j) * nbins + b;
            out[at] = norm2 > 0 ? buf[(i * bs + j) * nbins + b] / norm2 : 0.0;
          }
    }
  return out;
}

#endif // CLUSTERKIT_LITERAL_HOG_H
