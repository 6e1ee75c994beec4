function text = ck_escape(text)
% ck_escape  Shows control characters of TEXT as escapes, for messages.
  text = strrep(text, "\n", '\n');
  text = strrep(text, "\t", '\t');
end
