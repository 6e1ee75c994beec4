function ck_assert_error(fn, expected, identifier)
% ck_assert_error  Calls FN and requires it to fail with the message
% EXPECTED, as the host shows it: Octave puts "name: " before a MEX error and
% drops one trailing newline, so both are ignored here. The error must carry
% IDENTIFIER, by default the one docs/error-identifiers.md gives the message
% (ck_expected_identifier); '' for a host error that has none.
  try
    fn();
  catch err
    if ~ck_same_message(err.message, expected)
      error('expected error "%s", got "%s"', ck_escape(expected), ck_escape(err.message));
    end
    if nargin < 3
      identifier = ck_expected_identifier(err.message);
    end
    if ~strcmp(err.identifier, identifier)
      error('error "%s": expected identifier "%s", got "%s"', ck_escape(expected), identifier, ...
            err.identifier);
    end
    return;
  end
  error('expected error "%s", but the call succeeded', ck_escape(expected));
end
