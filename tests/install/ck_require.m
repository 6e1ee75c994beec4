function ck_require(condition, varargin)
% Fails with the printf-style message unless condition holds.
if ~condition
  error(varargin{:});
end
end
