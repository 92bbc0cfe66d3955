# Resources of the Windows programs.

# Gives `target`.exe version information with `description` (UTF-8).
function(fenmarq_add_version_info target description)
  set(program ${target})
  set(program_description "${description}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
