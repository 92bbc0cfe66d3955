# What a release holds, and the package that carries it. On Windows:
# fenmarq-<version>-win64.zip with fenmarq-cli.exe, the README and the licence.
if(WIN32)
  install(TARGETS fenmarq-cli RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "fenmarq-${PROJECT_VERSION}-win64")
endif()
set(CPACK_PACKAGE_NAME fenmarq)
set(CPACK_PACKAGE_VENDOR "The Fenmarq developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
include(CPack)
