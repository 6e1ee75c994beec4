function message = ck_strip_prefix(message)
% ck_strip_prefix  Removes the "plugin: " prefix that Octave adds to an error
% raised by a MEX file.
  tok = regexp(message, '^[A-Za-z_][A-Za-z0-9_]*: ', 'match', 'once');
  if ~isempty(tok)
    message = message(numel(tok)+1:end);
  end
end
