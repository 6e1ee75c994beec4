# mixtureScore comes in two variants: a single Gaussian (the macOS flavour
# ships it under the name mixtureScore) and a Gaussian mixture (shipped by the
# Linux flavour). Each flavour builds both, the other variant under its own
# name, so that the tests cover both.
set(_shipped_variant mixture)
if(flavor STREQUAL "macos")
  set(_shipped_variant single)
endif()
clusterkit_mex_dir(${flavor} _variant_outdir)
foreach(_variant IN ITEMS single mixture)
  if(_variant STREQUAL _shipped_variant)
    set(PLUGIN_NAME mixtureScore)
  elseif(_variant STREQUAL "single")
    set(PLUGIN_NAME mixtureScoreSingle)
  else()
    set(PLUGIN_NAME mixtureScoreMixture)
  endif()
  set(_help "${CMAKE_BINARY_DIR}/mex-help/${flavor}/${PLUGIN_NAME}.m")
  configure_file("${dir}/help_${_variant}.m.in" "${_help}" @ONLY)
  clusterkit_add_mex(TARGET mixtureScore_${_variant}_${flavor} FLAVOR ${flavor}
                     OUTPUT_NAME ${PLUGIN_NAME}
                     SOURCES "${dir}/mixtureScore_${_variant}.cpp"
                             "${dir}/mixtureScore_modelFields.cpp"
                     CODE mixtureScore_code_${flavor}
                     HELP "${_help}")
endforeach()
