function tests = test_failure_boundary()
% The gateways' failure boundary: a library failure ends the plug-in call as
% an error of that call, the host lives on, and host errors pass through.
  tests = localfunctions();
end

function test_library_failure_becomes_an_error_of_the_call()
  delete_log();
  ck_assert_error(@() failureProbe(1, 'the library gave up'), 'the library gave up', libraryFailure);
  assert(strcmp(fileread('/tmp/error.log'), sprintf('Error: the library gave up\n')));
  % The host is still there and the plug-in still works.
  assert(strcmp(failureProbe(0, 'fine'), 'fine'));
end

function test_the_saved_log_line_reaches_the_host_console()
  output = evalc('try, failureProbe(1, ''logged''); catch, end');
  assert(~isempty(strfind(output, sprintf('\nSaved error log at /tmp/error.log...\n'))), output);
end

function test_formatted_failures_name_their_origin()
  ck_assert_error(@() failureProbe(3, 'Bad thing'), 'Bad thing (line 7 of lib/utility/utility)', ...
                  libraryFailure);
end

function test_host_errors_are_not_swallowed()
  % ... with their own identifier (none here).
  ck_assert_error(@() failureProbe(2, 'host says no'), 'host says no', '');
end

function test_failures_never_crash_the_host()
  ck_expect_isolated({
    'failureProbe(1, ''x'');', {'x', libraryFailure}
    'failureProbe(2, ''y'');', {'y', ''}
    'for k = 1:50, try, failureProbe(1, ''again''); catch, end, end', []
  });
end

function test_platform_console_follows_the_flavour()
  % The host window (captured by evalc) in macOS builds, the process's
  % standard output (not captured) in Linux builds.
  output = evalc('failureProbe(4, ''routed text'');');
  if strcmp(ck_flavor(), 'macos')
    assert(strcmp(output, 'routed text'), output);
  else
    assert(isempty(output), output);
  end
end

% The identifier of a library failure passed through the boundary.
function identifier = libraryFailure()
  identifier = 'clusterkit:failureProbe:libraryFailure';
end

function delete_log()
  if exist('/tmp/error.log', 'file')
    delete('/tmp/error.log');
  end
end
