function ck_call_outputs(fn, outputCount, varargin)
% ck_call_outputs  Calls FN with the remaining arguments, asking for
% OUTPUTCOUNT outputs (0 asks for none, as a statement would), and drops
% whatever comes back.
  if outputCount == 0
    fn(varargin{:});
  else
    outputs = cell(1, outputCount);
    [outputs{:}] = fn(varargin{:});
  end
end
