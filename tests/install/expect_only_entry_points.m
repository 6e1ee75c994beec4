function expect_only_entry_points(mexFile)
% Fails unless the plug-in file exports mexFunction and nothing else (the
% Linux flavour): the library inside must not clash with the host's symbols.
[status, output] = system(sprintf('nm -D --defined-only "%s"', mexFile));
if status ~= 0
  error('nm failed on %s: %s', mexFile, output);
end
symbols = regexp(output, '[TDBRVW] (\S+)', 'tokens');
symbols = cellfun(@(token) token{1}, symbols, 'UniformOutput', false);
if ~isequal(symbols, {'mexFunction'})
  error('%s exports %s, not only mexFunction', mexFile, strjoin(symbols, ', '));
end
end
