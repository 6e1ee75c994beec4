function acc = oracle_logSumReduce(values)
% oracle_logSumReduce  Literal log-domain sum of VALUES in storage order:
% acc = log(exp(lo - hi) + 1) + hi, hi the larger of acc and the next value
% (acc when they are equal or either is NaN). Empty gives -Inf.
  if isempty(values)
    acc = -Inf;
    return;
  end
  acc = values(1);
  for i = 2:numel(values)
    a = values(i);
    if a > acc
      hi = a;
      lo = acc;
    else
      hi = acc;
      lo = a;
    end
    acc = log(exp(lo - hi) + 1.0) + hi;
  end
end
