function coef = oracle_rlsFit(x, y, order)
% oracle_rlsFit  Literal recursive least-squares polynomial fit, the
% reference that rlsFit must match bit for bit. Like the plug-in, it keeps
% its estimate between calls (clear oracle_rlsFit resets it) and starts
% afresh when an update comes with another number of coefficients. Every
% matrix product is summed term by term in index order.
  persistent S P flag n
  if isempty(flag)
    flag = 0;
    n = 0;
  end
  order = fix(order);
  coef = zeros(1, order + 1);
  for i = 1:numel(x)
    if n ~= order + 1
      n = order + 1;
      flag = 0;
    end
    if flag == 0
      P = zeros(n, 1);
      S = zeros(n, n);
      for d = 1:n
        S(d, d) = 1000000.0;
      end
    end
    flag = flag + 1;
    a = zeros(n, 1);
    for j = 0:order
      a(j + 1) = x(i) ^ (order - j);
    end
    a_t = a';
    tmp1 = product(S, a);
    tmp2 = product(a_t, tmp1);
    denominator = 1.0 + tmp2;
    tmp3 = product(a_t, S);
    tmp4 = product(tmp1, tmp3);
    tmp4 = tmp4 .* (1.0 / denominator);
    S = S - tmp4;
    S = S .* (1.0 / 1.0);
    tmp5 = product(a_t, P);
    tmp5 = y(i) - tmp5;
    tmp6 = product(a, tmp5);
    tmp7 = product(S, tmp6);
    P = P + tmp7;
    coef = P';
  end
end

function C = product(A, B)
  C = zeros(rows(A), columns(B));
  for i = 1:rows(A)
    for j = 1:columns(B)
      C(i, j) = 0;
      for k = 1:columns(A)
        C(i, j) = A(i, k) * B(k, j) + C(i, j);
      end
    end
  end
end
