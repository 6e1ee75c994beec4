function ck_expect_isolated(cases)
% ck_expect_isolated  Runs CASES, an N x 2 cell of {code, expectation}, in
% child processes (ck_isolated) and fails listing every case that crashed or
% did not meet its expectation:
%   a char array   the call must fail with exactly that message, and the
%                  identifier that docs/error-identifiers.md gives it
%                  (ck_expected_identifier)
%   {text, id}     the call must fail with message text and identifier id
%   []             the call must succeed
%   '*'            either, as long as the host survives
  results = ck_isolated(cases(:, 1));
  problems = {};
  for k = 1:size(cases, 1)
    expected = cases{k, 2};
    r = results(k);
    if strcmp(r.status, 'crash')
      problems{end+1} = sprintf('CRASH: %s', cases{k, 1});
    elseif ischar(expected) && strcmp(expected, '*')
      continue;
    elseif isempty(expected)
      if ~strcmp(r.status, 'ok')
        problems{end+1} = sprintf('%s: unexpected error "%s"', cases{k, 1}, ck_escape(r.message));
      end
    else
      identifier = [];
      if iscell(expected)
        [expected, identifier] = expected{:};
      end
      if ~strcmp(r.status, 'error') || ~ck_same_message(r.message, expected)
        problems{end+1} = sprintf('%s: expected "%s", got %s "%s"', cases{k, 1}, ...
                                  ck_escape(expected), r.status, ck_escape(r.message));
        continue;
      end
      if ~ischar(identifier)
        identifier = ck_expected_identifier(r.message);
      end
      if ~strcmp(r.identifier, identifier)
        problems{end+1} = sprintf('%s: expected identifier "%s", got "%s"', cases{k, 1}, ...
                                  identifier, r.identifier);
      end
    end
  end
  if ~isempty(problems)
    error('%d of %d cases wrong:\n  %s', numel(problems), size(cases, 1), strjoin(problems, "\n  "));
  end
end
