function output = ck_process_output(code)
% ck_process_output  Runs CODE in a child octave-cli with the plug-ins under
% test on the path and returns everything the child wrote to its standard
% output: text a plug-in prints there directly, which evalc cannot capture,
% as well as the host console's own output.
  script = [tempname() '.m'];
  fid = fopen(script, 'w');
  fprintf(fid, 'addpath(''%s'');\n%s\n', getenv('CLUSTERKIT_MEX_DIR'), code);
  fclose(fid);
  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
  [status, output] = system(sprintf('timeout 120 "%s" --no-history --no-gui --norc --quiet "%s" 2>/dev/null', octave, script));
  delete(script);
  if status ~= 0
    error('child octave-cli ended with status %d: %s', status, output);
  end
end
