function ck_assert_error(fn, expected)
% ck_assert_error  Calls FN and requires it to fail with the message
% EXPECTED, as the host shows it: Octave puts "name: " before a MEX error and
% drops one trailing newline, so both are ignored here.
  try
    fn();
  catch err
    if ~ck_same_message(err.message, expected)
      error('expected error "%s", got "%s"', ck_escape(expected), ck_escape(err.message));
    end
    return;
  end
  error('expected error "%s", but the call succeeded', ck_escape(expected));
end
