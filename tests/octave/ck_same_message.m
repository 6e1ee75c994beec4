function same = ck_same_message(actual, expected)
% ck_same_message  True when the host's error text ACTUAL is the plug-in
% message EXPECTED: the "name: " prefix and one trailing newline of either
% are ignored.
  same = strcmp(trim_newline(ck_strip_prefix(actual)), trim_newline(expected));
end

function text = trim_newline(text)
  if ~isempty(text) && text(end) == "\n"
    text = text(1:end-1);
  end
end
