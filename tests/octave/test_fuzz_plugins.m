function tests = test_fuzz_plugins()
% Robustness of every plug-in: a few hundred calls each, from a fixed seed,
% with 0 to 6 arguments and 0 to 4 outputs drawn from a pool of awkward
% values. Each call may fail or succeed, but the host must survive it (a hang
% counts as a crash). Every call is plain code, so a failing one can be
% pasted into octave-cli as it is reported.
  tests = localfunctions();
end

function test_neighborQuery_survives_awkward_calls()
  fuzz('neighborQuery', {'rand(3, 4)', 'rand(3, 9)', '2', '3', '[1 2]'}, 2, {}, 11);
end

function test_pairDistance_survives_awkward_calls()
  fuzz('pairDistance', {'rand(3, 4)', 'rand(3, 5)'}, 1, {}, 12);
end

function test_codebookTrain_survives_awkward_calls()
  fuzz('codebookTrain', {'rand(2, 12)', '3', '0'}, 3, {}, 13);
end

function test_mixtureScore_survives_awkward_calls()
  % Both variants: the one shipped under the name and the other one.
  for plugin = {'mixtureScore', 'mixtureScoreSingle', 'mixtureScoreMixture'}
    if exist(plugin{1}) == 3
      fuzz(plugin{1}, {'rand(3, 5)', mixture_model()}, 2, model_values(), 14);
    end
  end
end

function test_logSumReduce_survives_awkward_calls()
  fuzz('logSumReduce', {'rand(3, 4)', '1'}, 1, {}, 15);
end

function test_rlsFit_survives_awkward_calls()
  fuzz('rlsFit', {'[1 2 3 4]', '[2 4 6 9]', '2'}, 1, {}, 16);
end

function test_gradientHistogram_survives_awkward_calls()
  if exist('gradientHistogram') == 3
    fuzz('gradientHistogram', {'rand(24, 20)', '[9 8 2 0 0.2]'}, 1, hog_values(), 17);
  end
end

% Runs callCount generated calls of plugin in batches of child hosts.
% typical is one sound argument list and maxOutputs the most outputs the
% plug-in gives: each argument is kept from typical or drawn from the pool,
% so that the calls get past the first checks and reach the later ones. Each
% batch starts with the typical call, which must succeed: a batch that cannot
% reach the plug-in at all would otherwise pass unnoticed.
function fuzz(plugin, typical, maxOutputs, extraPool, seed)
  callCount = 300;
  batchSize = 100;
  calls = generate_calls(plugin, typical, maxOutputs, [awkward_values(), extraPool], seed, ...
                         callCount);
  sound = sprintf('rand(''state'', 0); ck_call_outputs(%s)', ...
                  strjoin([{['@' plugin], '1'}, typical], ', '));
  for first = 1:batchSize:callCount
    batch = calls(first:min(first + batchSize - 1, callCount));
    ck_expect_isolated([{sound, []}; batch, repmat({'*'}, numel(batch), 1)]);
  end
end

function calls = generate_calls(plugin, typical, maxOutputs, pool, seed, callCount)
  rand('state', seed);
  calls = cell(callCount, 1);
  for k = 1:callCount
    % Most calls take the full argument count and a valid output count, the
    % rest any counts.
    if rand() < 0.7
      argCount = numel(typical);
      outputCount = pick(0:maxOutputs);
    else
      argCount = pick(0:6);
      outputCount = pick(0:4);
    end
    args = cell(1, argCount);
    for a = 1:argCount
      if a <= numel(typical) && rand() < 0.6
        args{a} = typical{a};
      else
        args{a} = pick(pool);
      end
    end
    % The values made with rand are seeded per call, so that a reported
    % call repeats exactly.
    calls{k} = sprintf('rand(''state'', %d); ck_call_outputs(%s)', k, ...
                       strjoin([{['@' plugin], sprintf('%d', outputCount)}, args], ', '));
  end
end

function item = pick(list)
  item = list(min(numel(list), 1 + floor(rand() * numel(list))));
  if iscell(item)
    item = item{1};
  end
end

% Values of every class and of awkward shapes and sizes, as code.
function pool = awkward_values()
  classes = {'single([1 2; 3 4])', 'int8([1 -2 3])', 'uint8(255)', 'int16([-7 8])', ...
             'uint16(3)', 'int32([2 3])', 'uint32(4e9)', 'int64(-2^62)', 'uint64(2^64)', ...
             'true', 'logical([1 0; 0 1])', '''abc''', '''''', '{}', '{1, [2 3]}', ...
             'struct()', 'struct(''a'', {1, 2})', 'struct([])', 'struct(''mu'', {})', ...
             'repmat(struct(''a'', 1), 2, 3)', '@sin', '@() error(''x'')'};
  sparseAndComplex = {'sparse([1 0 2; 0 3 0])', 'sparse(2, 3)', 'sparse([true false true])', ...
                      'sparse(zeros(0, 3))', 'sparse(1e308)', 'sparse([1+2i 0 3])', '1 + 2i', ...
                      'complex([1 2; 3 4], 0)', 'complex(zeros(0, 2))', 'single(1 + 1i)', ...
                      'complex(NaN, Inf)'};
  empties = {'[]', 'zeros(0, 3)', 'zeros(3, 0)', 'zeros(1, 0, 2)', 'zeros(0, 0, 3)', ...
             'zeros(0, 2^31)', 'zeros(2^31, 0)', 'zeros(0, 2^40)', 'zeros(0, 2^31 - 1)', ...
             'zeros(2^31 - 1, 0)', 'int8(zeros(0, 2))'};
  multiDim = {'ones(2, 3, 2)', 'reshape(1:24, 2, 3, 4)', 'rand(2, 2, 2, 2)', 'rand(4, 4, 3)', ...
              'rand(3, 1, 2)'};
  special = {'NaN', 'Inf', '-Inf', '-0', '[NaN Inf -Inf -0]', 'NaN(3, 3)', 'Inf(2, 5)', ...
             '-Inf(3, 1)', '[1 NaN; 2 3; 4 5]'};
  extremes = {'1e308', '-1e308', '2^31', '-2^31', '2^31 - 1', '2^32', '2^53', '-2^53', ...
              '1e-308', '5e-324', '[1e308 -1e308; 1e308 -1e308]', 'realmax * ones(3, 4)', ...
              '-realmax * ones(1, 7)'};
  counts = {'0', '1', '2', '3', '-1', '0.5', '2.7', '-0.9', '7', '100', '1e5'};
  ordinary = {'[1 2 3]', '[1; 2; 3]', 'magic(4)', 'rand(3, 8)', 'rand(1, 50)', 'eye(2)', ...
              'rand(2, 12)', 'rand(3, 5)'};
  strings = {'''hello''', '"two\nlines"', 'repmat(''x'', 1, 300)', '{''a'', ''bc''}', ...
             'char([0 255])', '[''ab''; ''cd'']'};
  pool = [classes, sparseAndComplex, empties, multiDim, special, extremes, counts, ...
          ordinary, strings];
end

function model = mixture_model()
  model = 'struct(''mu'', {[0; 0; 0], [1; 1; 1]}, ''sigma'', {1, [1 2 3]}, ''w'', {0.5, 0.5})';
end

% Models for the mixture-score variants: sound ones, and fields that are
% missing, empty, of the wrong class or shape, or hold extreme values.
function pool = model_values()
  pool = {mixture_model(), ...
          'struct(''mu'', [0; 0; 0], ''sigma'', 1, ''w'', 1)', ...
          'struct(''mu'', {}, ''sigma'', {}, ''w'', {})', ...
          'struct(''mu'', [], ''sigma'', [], ''w'', [])', ...
          'struct(''mu'', NaN(3, 1), ''sigma'', -1, ''w'', 0)', ...
          'struct(''mu'', zeros(3, 1), ''sigma'', ones(3), ''w'', Inf)', ...
          'struct(''mu'', 1e308 * ones(3, 1), ''sigma'', 5e-324, ''w'', 1e308)', ...
          'struct(''mu'', int8([1; 2; 3]), ''sigma'', single(1), ''w'', true)', ...
          'struct(''mu'', {{1, 2, 3}}, ''sigma'', {{1}}, ''w'', {{1}})', ...
          'struct(''mu'', sparse([1; 2; 3]), ''sigma'', complex(1, 1), ''w'', 1)', ...
          'struct(''mu'', [1; 2; 3], ''sigma'', sparse(1), ''w'', complex(1, 0))', ...
          'struct(''sigma'', 1, ''w'', 1)', ...
          'struct(''mu'', [1; 2; 3], ''w'', 1)', ...
          'struct(''mu'', [1; 2; 3], ''sigma'', 1)', ...
          'repmat(struct(''mu'', ones(3, 1), ''sigma'', 2, ''w'', 0.25), 2, 2)', ...
          'repmat(struct(''mu'', ones(3, 1), ''sigma'', 2, ''w'', 0.25), 3, 1)', ...
          'struct(''mu'', @sin, ''sigma'', 1, ''w'', 1)', ...
          'struct(''mu'', zeros(0, 3), ''sigma'', zeros(1, 0, 2), ''w'', 1)', ...
          'struct(''mu'', ones(3, 1, 2), ''sigma'', ones(1, 3, 1), ''w'', [1 2])', ...
          'struct(''mu'', ones(2, 1), ''sigma'', [1 2], ''w'', 1)', ...
          'struct(''mu'', ''abc'', ''sigma'', ''a'', ''w'', ''b'')'};
end

% Images and parameter vectors for the gradient histogram: bin counts, cell
% and block sizes that are tiny, huge, fractional, negative or not numbers,
% and vectors shorter than five values.
function pool = hog_values()
  pool = {'zeros(16, 16)', 'rand(24, 20, 3)', 'rand(9, 9, 2)', 'rand(8, 8, 3, 2)', ...
          'rand(16, 16, 3) * 1e308', 'NaN(16, 16)', 'rand(1, 200)', 'rand(200, 1)', ...
          '[9 8 2 0 0.2]', '[9 8 2]', '[9]', '[1 1 1 1 0]', '[0.5 8 2 0 0.2]', ...
          '[9 0.5 2 0 0.2]', '[9 8 0.5 0 0.2]', '[1e9 8 2 0 0.2]', '[9 1e-300 2 0 0.2]', ...
          '[9 8 1e9 0 0.2]', '[NaN NaN NaN NaN NaN]', '[Inf Inf Inf 0 0.2]', ...
          '[9 8 2 7 -1]', '[2^31 2^31 2^31 0 0]', '[9 8 -1 0 0]', '[9 1 1 0 0.2]', ...
          '[9 2^31 2 0 0.2]', '[-Inf 8 2 0 0.2]', '[9 8 2 NaN NaN]', '[3 4 2^30 1 0.2]'};
end
