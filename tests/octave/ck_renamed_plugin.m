function cleanup = ck_renamed_plugin(plugin, name)
% ck_renamed_plugin  Puts a copy of the plug-in PLUGIN under the test under
% the function name NAME on the path, so that messages built from the name
% the plug-in was called by can be tested with long names. The copy goes away
% when the returned CLEANUP object is cleared.
  folder = tempname();
  mkdir(folder);
  copyfile(fullfile(getenv('CLUSTERKIT_MEX_DIR'), [plugin '.mex']), fullfile(folder, [name '.mex']));
  addpath(folder);
  cleanup = onCleanup(@() remove_folder(folder));
end

function remove_folder(folder)
  rmpath(folder);
  confirm_recursive_rmdir(false, 'local');
  rmdir(folder, 's');
end
