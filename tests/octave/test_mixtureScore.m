function tests = test_mixtureScore()
% Both variants are built in each flavour: the flavour's own one under the
% name mixtureScore, the other under mixtureScoreSingle / mixtureScoreMixture.
  tests = localfunctions();
end

% The plug-in name under which this flavour built VARIANT ('single' or 'mixture').
function name = variant_name(variant)
  shipped = 'mixture';
  if strcmp(ck_flavor(), 'macos')
    shipped = 'single';
  end
  if strcmp(variant, shipped)
    name = 'mixtureScore';
  elseif strcmp(variant, 'single')
    name = 'mixtureScoreSingle';
  else
    name = 'mixtureScoreMixture';
  end
end

function name = single_name()
  name = variant_name('single');
end

function name = mixture_name()
  name = variant_name('mixture');
end

function varargout = call_single(varargin)
  [varargout{1:max(nargout, 1)}] = feval(single_name(), varargin{:});
end

function varargout = call_mixture(varargin)
  [varargout{1:max(nargout, 1)}] = feval(mixture_name(), varargin{:});
end

% What a snippet writes to the process's standard output and the host
% window together, run in a child octave-cli.
function text = console_of(code)
  script = [tempname() '.m'];
  fid = fopen(script, 'w');
  fprintf(fid, 'addpath(''%s'');\n%s\n', getenv('CLUSTERKIT_MEX_DIR'), code);
  fclose(fid);
  octave = fullfile(OCTAVE_HOME(), 'bin', 'octave-cli');
  [~, text] = system(sprintf('"%s" --no-history --no-gui --norc --quiet "%s" 2>/dev/null', octave, script));
  delete(script);
end

function model = random_mixture(dim, mixNum, seed)
  rand('seed', seed);
  randn('seed', seed);
  model = struct('mu', {}, 'sigma', {}, 'w', {});
  for j = 1:mixNum
    model(j).mu = randn(dim, 1);
    model(j).sigma = 0.2 + rand();
    model(j).w = rand() / mixNum;
  end
end

% ---- both variants ---------------------------------------------------------

function test_usage_messages_carry_the_called_name()
  s = single_name();
  ck_assert_error(@() call_single(), [s ' requires 2 input arguments.' "\n" 'Usage: logProb = ' s ...
    '(data, gPrm)' "\n\t" '(Note that gPrm.sigma must be a scalar or vector! Full covariance is not supported yet.)']);
  ck_assert_error(@() call_single(ones(2)), [s ' requires 2 input arguments.' "\n" 'Usage: logProb = ' s ...
    '(data, gPrm)' "\n\t" '(Note that gPrm.sigma must be a scalar or vector! Full covariance is not supported yet.)']);
  m = mixture_name();
  ck_assert_error(@() call_mixture(ones(2)), ...
    [m ' requires 2 input arguments.' "\n" 'Usage: logProb = ' m '(data, gmmParam)']);
end

function test_console_text_goes_to_standard_output()
  % evalc sees only the host window; the single variant's lines never go
  % there, the mixture variant's only in the macOS flavour.
  single_text = evalc(sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1));', single_name()));
  assert(isempty(strfind(single_text, 'vec = ')), single_text);
  mixture_text = evalc(sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1, ''w'', 1));', mixture_name()));
  assert(isempty(strfind(mixture_text, 'Here0')) == strcmp(ck_flavor(), 'linux'), mixture_text);
end

function test_refusals_before_anything_is_read()
  for variant = {'single', 'mixture'}
    if strcmp(variant{1}, 'single')
      f = single_name(); label = 'gPrm'; field = 'gPrm'; good = 'struct(''mu'', [0; 0], ''sigma'', 1)';
    else
      f = mixture_name(); label = 'gmmParam'; field = 'gmmParam(1)';
      good = 'struct(''mu'', [0; 0], ''sigma'', 1, ''w'', 1)';
    end
    data = 'Input DATA must be a double real matrix.';
    cases = {
      sprintf('%s(int32([1; 2]), %s)', f, good),           data;
      sprintf('%s(single([1; 2]), %s)', f, good),          data;
      sprintf('%s([1i; 2], %s)', f, good),                 data;
      sprintf('%s(sparse([1; 2]), %s)', f, good),          data;
      sprintf('%s({1, 2}, %s)', f, good),                  data;
      sprintf('%s(@sin, %s)', f, good),                    data;
      sprintf('%s([1; 2], [1 2])', f),                     sprintf('Input %s must be a structure.', label);
      sprintf('%s([1; 2], {%s})', f, good),                sprintf('Input %s must be a structure.', label);
      sprintf('%s([1; 2], @sin)', f),                      sprintf('Input %s must be a structure.', label);
      sprintf('%s([1; 2], struct(''mu'', {}))', f),        sprintf('Input %s must not be empty.', label);
      sprintf('%s([1; 2], struct(''sigma'', 1, ''w'', 1))', f), sprintf('%s has no field "mu".', field);
      sprintf('%s([1; 2], struct(''mu'', [0; 0], ''w'', 1))', f), sprintf('%s has no field "sigma".', field);
      sprintf('%s([1; 2], struct(''mu'', 0, ''sigma'', 1, ''w'', 1))', f), ...
        sprintf('Field %s.mu holds 1 values; it needs at least 2, one per row of data.', field);
      sprintf('%s([1; 2], struct(''mu'', [], ''sigma'', 1, ''w'', 1))', f), ...
        sprintf('Field %s.mu holds 0 values; it needs at least 2, one per row of data.', field);
      sprintf('%s([1; 2], struct(''mu'', int32([0; 0]), ''sigma'', 1, ''w'', 1))', f), ...
        sprintf('Field %s.mu must be a double real matrix.', field);
      sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', [], ''w'', 1))', f), ...
        sprintf('Field %s.sigma must not be empty.', field);
      sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1i, ''w'', 1))', f), ...
        sprintf('Field %s.sigma must be a double real matrix.', field);
      sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', sparse(1), ''w'', 1))', f), ...
        sprintf('Field %s.sigma must be a double real matrix.', field);
      sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', {{1}}, ''w'', 1))', f), ...
        sprintf('Field %s.sigma must be a double real matrix.', field);
      sprintf('%s([1; 2], %s, ''extra inputs are ignored'')', f, good), [];
    };
    if strcmp(variant{1}, 'mixture')
      cases(end+1, :) = {sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1))', f), ...
                         'gmmParam(1) has no field "w".'};
      cases(end+1, :) = {sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1, ''w'', []))', f), ...
                         'Field gmmParam(1).w must not be empty.'};
      cases(end+1, :) = {sprintf('%s([1; 2], struct(''mu'', [0; 0], ''sigma'', 1, ''w'', true))', f), ...
                         'Field gmmParam(1).w must be a double real matrix.'};
      cases(end+1, :) = {sprintf('%s([1; 2], struct(''mu'', {[0; 0], 1}, ''sigma'', 1, ''w'', 1))', f), ...
                         'Field gmmParam(2).mu holds 1 values; it needs at least 2, one per row of data.'};
      cases(end+1, :) = {sprintf('%s([1; 2], repmat(%s, 0, 3))', f, good), 'Input gmmParam must not be empty.'};
      cases(end+1, :) = {sprintf('%s([1; 2], repmat(%s, 3, 0))', f, good), 'Input gmmParam must not be empty.'};
      % 1e5 mixtures at 1e6 columns: the per-mixture densities would not fit,
      % as an output or as work space.
      huge = sprintf('zeros(0, 1e6), repmat(struct(''mu'', [], ''sigma'', 1, ''w'', 1), 1, 1e5)');
      cases(end+1, :) = {sprintf('[a, b] = %s(%s);', f, huge), 'Output too large for this machine.'};
      cases(end+1, :) = {sprintf('a = %s(%s);', f, huge), 'Output too large for this machine.'};
    end
    ck_expect_isolated(cases);
  end
end

% ---- single-Gaussian variant -------------------------------------------------

function test_single_shared_variance_matches_the_literal_formula()
  randn('seed', 1);
  data = randn(4, 50);
  gPrm = struct('mu', randn(4, 1), 'sigma', 0.7);
  logProb = call_single(data, gPrm);
  ck_assert_equal(logProb, oracle_mixtureScore('single', data, gPrm), 'logProb');
  closed = -0.5 * (4 * log(6.28318530717958 * 0.7) + sum((data - gPrm.mu).^2, 1) / 0.7);
  assert(max(abs(logProb - closed)) < 1e-12);
end

function test_single_per_dimension_variance_and_other_counts()
  randn('seed', 2);
  data = randn(3, 20);
  gPrm = struct('mu', randn(3, 1), 'sigma', [0.5; 1.5; 2]);
  ck_assert_equal(call_single(data, gPrm), oracle_mixtureScore('single', data, gPrm), 'per dimension');
  % Two values for three dimensions would leave every score at 0: refused.
  ck_assert_error(@() call_single(data, struct('mu', [0 0 0], 'sigma', [1 2])), ...
                  'Field gPrm.sigma holds 2 values; it needs 1 (shared by all dimensions) or 3 (one per dimension).');
  ck_assert_error(@() call_single(data, struct('mu', [0 0 0], 'sigma', eye(3))), ...
                  'Full covariance matrix is not supported!');
  % With dim 1 one value is the shared variance.
  ck_assert_equal(call_single([1 2 3], struct('mu', 0.5, 'sigma', 2)), ...
                  oracle_mixtureScore('single', [1 2 3], struct('mu', 0.5, 'sigma', 2)), 'dim 1');
end

function test_single_uses_the_first_element_and_first_dim_means()
  data = [1 2; 3 4];
  gPrm = struct('mu', {[0.5; 1; 99], [7; 7]}, 'sigma', {2, 5});
  ck_assert_equal(call_single(data, gPrm), ...
                  oracle_mixtureScore('single', data, struct('mu', [0.5; 1], 'sigma', 2)), 'first element');
  ck_assert_equal(call_single(zeros(3, 0), struct('mu', [0 0 0], 'sigma', 1)), zeros(1, 0), 'no data');
end

function test_single_prints_the_mean_and_the_variance_it_has()
  s = single_name();
  text = console_of(sprintf('%s([1; 2; 3], struct(''mu'', [0.5 1/3 2e6], ''sigma'', 4));', s));
  assert(~isempty(strfind(text, sprintf('vec = 0.5 0.333333 2e+06 \nvec = 4 \n'))), text);
  text = console_of(sprintf('%s([1; 2; 3], struct(''mu'', [0 0 0], ''sigma'', [1 2 3]));', s));
  assert(~isempty(strfind(text, sprintf('vec = 0 0 0 \nvec = 1 2 3 \n'))), text);
  text = console_of(sprintf('%s([1; 2; 3], struct(''mu'', [0 0 0], ''sigma'', [1 2]));', s));
  assert(~isempty(strfind(text, sprintf('vec = 0 0 0 \nvec = 1 2 \n'))), text);
end

% ---- mixture variant ---------------------------------------------------------

function test_mixture_matches_the_literal_evaluation()
  randn('seed', 4);
  data = 1.5 * randn(3, 40);
  model = random_mixture(3, 4, 5);
  [logProb, mixProb] = call_mixture(data, model);
  [expectedLog, expectedMix] = oracle_mixtureScore('mixture', data, model);
  ck_assert_equal(logProb, expectedLog, 'logProb');
  ck_assert_equal(mixProb, expectedMix, 'mixProb');
  % One output: the same log-likelihoods.
  ck_assert_equal(call_mixture(data, model), expectedLog, 'one output');
end

function test_mixture_uses_only_the_first_sigma_value()
  data = [0.5 -1; 2 0];
  vectorSigma = struct('mu', [0; 1], 'sigma', [0.8; 3], 'w', 1);
  scalarSigma = struct('mu', [0; 1], 'sigma', 0.8, 'w', 1);
  ck_assert_equal(call_mixture(data, vectorSigma), call_mixture(data, scalarSigma), 'vector sigma');
  % One mixture of weight 1 scores like the single Gaussian with that variance.
  ck_assert_equal(call_mixture(data, scalarSigma), call_single(data, scalarSigma), 'single Gaussian');
  % A column-shaped structure array is one mixture.
  column = struct('mu', {[0; 1]; [5; 5]}, 'sigma', 0.8, 'w', 1);
  [logProb, mixProb] = call_mixture(data, column);
  ck_assert_equal(logProb, call_mixture(data, scalarSigma), 'column struct');
  assert(isequal(size(mixProb), [1 2]));
end

function test_mixture_covariance_type_comes_from_the_last_sigma()
  m = mixture_name();
  text = console_of(sprintf('%s([1; 2; 3], struct(''mu'', {[0 0 0], [1 1 1]}, ''sigma'', {[1 2], eye(3)}, ''w'', 0.5));', m));
  assert(~isempty(strfind(text, sprintf('<gmmType>\n3\n'))), text);
  text = console_of(sprintf('%s(1, struct(''mu'', 0, ''sigma'', 1, ''w'', 1));', m));
  assert(~isempty(strfind(text, sprintf('<gmmType>\n1\n'))), text);
  ck_assert_error(@() call_mixture([1; 2; 3], struct('mu', {[0 0 0], [1 1 1]}, 'sigma', {1, [1 2]}, 'w', 0.5)), ...
                  'Unknown covariance type!');
end

function test_mixture_prints_the_record_and_progress_lines()
  m = mixture_name();
  text = console_of(sprintf('[a, b] = %s(zeros(2, 0), struct(''mu'', {[0; 1], [2; 3]}, ''sigma'', {[1 1], [0.5 0.5]}, ''w'', {0.25, 0.75}));', m));
  expected = sprintf(['<comment>\nConverted from MATLAB\n<version>\n0.0.0\n<gmmType>\n2\n' ...
    '<name>\nThis is the name of the GMM\n<dim>\n2\n<mixNum>\n2\n<mean>\n' ...
    '0.000000e+00 1.000000e+00 \n2.000000e+00 3.000000e+00 \n' ...
    '<covariance>\n1.000000e+00 5.000000e-01 \n<weight>\n2.500000e-01 7.500000e-01 \n' ...
    '<gConst>\n0.000000e+00 0.000000e+00 \nHere0\nHere1\nHere2\n']);
  assert(~isempty(strfind(text, expected)), text);
  [a, b] = call_mixture(zeros(2, 0), struct('mu', [0; 1], 'sigma', 1, 'w', 1));
  assert(isequal(size(a), [1 0]) && isequal(size(b), [1 0]));
end
