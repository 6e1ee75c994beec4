function text = ifelse_text(condition, yes, no)
  % yes when condition holds, no otherwise.
  if condition
    text = yes;
  else
    text = no;
  end
end
