# What a release holds: the Windows zip, made by CPack, and the installer,
# made by wixl; elsewhere the install tree that the Debian packages are made
# from.
set(CPACK_PACKAGE_NAME fenmarq)
set(CPACK_PACKAGE_VENDOR "The Fenmarq developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
  # fenmarq-<version>-win64.zip, unpacked into a folder of the user's choice
  # (C:\Tools\fenmarq, say) without a folder of its own: fenmarq.exe (the
  # window), fenmarq-cli.exe, README-Windows.txt (a guide for Windows users,
  # in the UTF-8 with byte-order mark and "\r\n" that Notepad reads) and the
  # licence.
  set(fenmarq_windows_readme ${PROJECT_BINARY_DIR}/README-Windows.txt)
  add_custom_command(
    OUTPUT ${fenmarq_windows_readme}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/docs/README-Windows.txt
            -DOUT=${fenmarq_windows_readme} -DPROJECT_VERSION=${PROJECT_VERSION} -P
            ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
    DEPENDS docs/README-Windows.txt cmake/windows_text.cmake
    COMMENT "README-Windows.txt with byte-order mark and CRLF")
  add_custom_target(fenmarq_windows_readme ALL DEPENDS ${fenmarq_windows_readme})
  install(TARGETS fenmarq-cli RUNTIME DESTINATION .)
  if(FENMARQ_BUILD_GUI)
    install(TARGETS fenmarq RUNTIME DESTINATION .)
  endif()
  install(FILES ${fenmarq_windows_readme} LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # CPack's own module changes CPACK_PACKAGE_FILE_NAME while it writes the
  # source package's configuration: the tests take the zip's name from here.
  set(FENMARQ_WINDOWS_ZIP "fenmarq-${PROJECT_VERSION}-win64")
  set(CPACK_PACKAGE_FILE_NAME ${FENMARQ_WINDOWS_ZIP})
  include(CPack)

  # fenmarq-<version>-win64.msi beside it, for those who install: built by
  # wixl from cmake/fenmarq.wxs out of a folder that holds what it packs
  # (wixl takes its sources by name, relative to where it runs).
  find_program(FENMARQ_WIXL wixl)
  if(FENMARQ_BUILD_GUI AND FENMARQ_WIXL)
    set(FENMARQ_WINDOWS_MSI ${PROJECT_BINARY_DIR}/fenmarq-${PROJECT_VERSION}-win64.msi)
    set(msi_sources ${PROJECT_BINARY_DIR}/msi)
    file(MAKE_DIRECTORY ${msi_sources})
    add_custom_command(
      OUTPUT ${FENMARQ_WINDOWS_MSI}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fenmarq> $<TARGET_FILE:fenmarq-cli>
              ${fenmarq_windows_readme} ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/app/fenmarq.ico ${msi_sources}
      COMMAND ${FENMARQ_WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${FENMARQ_WINDOWS_MSI}
              ${PROJECT_SOURCE_DIR}/cmake/fenmarq.wxs
      WORKING_DIRECTORY ${msi_sources}
      DEPENDS fenmarq fenmarq-cli ${fenmarq_windows_readme} cmake/fenmarq.wxs LICENSE app/fenmarq.ico
      COMMENT "The Windows installer, ${FENMARQ_WINDOWS_MSI}")
    add_custom_target(fenmarq_windows_msi ALL DEPENDS ${FENMARQ_WINDOWS_MSI})
  elseif(FENMARQ_BUILD_GUI)
    message(STATUS "wixl not found: no Windows installer (Debian's package wixl has it)")
  endif()
  return()
endif()

# Elsewhere the usual tree under the prefix: bin/, share/man/man1/ and
# share/doc/fenmarq/, and with the window its desktop entry, AppStream
# metadata and icons. The Debian packages are made from the same tree by
# debian/rules, which takes its own copyright and changelog instead of the
# README and licence.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(fenmarq_manuals fenmarq-cli.1)
install(TARGETS fenmarq-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(FENMARQ_BUILD_GUI)
  list(APPEND fenmarq_manuals fenmarq.1)
  install(TARGETS fenmarq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES app/${FENMARQ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES app/${FENMARQ_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY app/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
foreach(manual ${fenmarq_manuals})
  configure_file(docs/${manual}.in ${PROJECT_BINARY_DIR}/man/${manual} @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
