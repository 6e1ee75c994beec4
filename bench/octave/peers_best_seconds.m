function seconds = peers_best_seconds(fn, repeats)
  % Best wall-clock seconds of repeats calls of fn: the least disturbed by
  % whatever else the machine is doing.
  seconds = Inf;
  for r = 1:repeats
    start = tic;
    fn();
    seconds = min(seconds, toc(start));
  end
end
