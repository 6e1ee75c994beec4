function results = ck_isolated(snippets)
% ck_isolated  Runs each code snippet in a child octave-cli, so that a crash
% of the host fails a case instead of ending the test run. After a crash the
% remaining snippets run in a fresh child.
%
%   results(k).status   'ok', 'error' or 'crash'
%   results(k).message     the error message as the host gave it, or ''
%   results(k).identifier  the error's identifier, or ''
  n = numel(snippets);
  results = repmat(struct('status', 'crash', 'message', '', 'identifier', ''), n, 1);
  next = 1;
  while next <= n
    [finished, output] = run_child(snippets, next);
    last = next - 1;
    for line = strsplit(output, "\n")
      text = line{1};
      tok = regexp(text, '^@@(OK|ERR) (\d+) ?(\S*) ?(.*)$', 'tokens', 'once');
      if isempty(tok)
        continue;
      end
      k = str2double(tok{2});
      last = max(last, k);
      if strcmp(tok{1}, 'OK')
        results(k).status = 'ok';
      else
        results(k).status = 'error';
        if ~strcmp(tok{3}, '-')
          results(k).identifier = tok{3};
        end
        results(k).message = unescape(tok{4});
      end
    end
    if finished
      break;
    end
    % The child died inside snippet last + 1: that one stays 'crash'.
    next = last + 2;
  end
end

function [finished, output] = run_child(snippets, first)
  script = [tempname() '.m'];
  fid = fopen(script, 'w');
  folders = {getenv('CLUSTERKIT_MEX_DIR'), getenv('CLUSTERKIT_TEST_MEX_DIR'), ...
             fileparts(mfilename('fullpath'))};
  for f = folders(~cellfun(@isempty, folders))
    fprintf(fid, 'addpath(''%s'');\n', f{1});
  end
  for k = first:numel(snippets)
    fprintf(fid, 'try\n%s\nprintf(''@@OK %d\\n''); catch ck_err\n', snippets{k}, k);
    % The identifier (- for none) goes first: it holds no blanks.
    fprintf(fid, 'ck_id = ck_err.identifier; if isempty(ck_id), ck_id = ''-''; end\n');
    fprintf(fid, 'printf(''@@ERR %d %%s %%s\\n'', ck_id, strrep(strrep(ck_err.message, "\\\\", "\\\\\\\\"), "\\n", "\\\\n")); end\nfflush(stdout);\n', k);
  end
  fprintf(fid, 'printf(''@@END\\n'');\n');
  fclose(fid);
  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
  % A hang counts like a crash: the child is stopped after two minutes.
  [~, output] = system(sprintf('timeout 120 "%s" --no-history --no-gui --norc --quiet "%s" 2>&1', octave, script));
  delete(script);
  finished = ~isempty(strfind(output, '@@END'));
end

function text = unescape(text)
  text = regexprep(text, '(?<!\\)\\n', "\n");
  text = strrep(text, '\\', '\');
end
