# What a release holds, and the package that carries it.
set(CPACK_PACKAGE_NAME fenmarq)
set(CPACK_PACKAGE_VENDOR "The Fenmarq developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
  # fenmarq-<version>-win64.zip with fenmarq.exe (the window),
  # fenmarq-cli.exe, the README and the licence.
  install(TARGETS fenmarq-cli RUNTIME DESTINATION .)
  if(FENMARQ_BUILD_GUI)
    install(TARGETS fenmarq RUNTIME DESTINATION .)
  endif()
  install(FILES README.md LICENSE DESTINATION .)
  install(FILES docs/screenshot-windows.png DESTINATION docs)  # the README's picture
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "fenmarq-${PROJECT_VERSION}-win64")
  include(CPack)
  return()
endif()

# Elsewhere the usual tree under the prefix: bin/, share/man/man1/ and
# share/doc/fenmarq/, and with the window its desktop entry, AppStream
# metadata and icons. The same tree makes fenmarq_<version>_<arch>.deb.
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

# Manual pages and the changelog compressed as Debian wants them: gzip at
# its best, without a time stamp, so that the package is the same each build.
find_program(FENMARQ_GZIP gzip REQUIRED)
set(fenmarq_gzipped)
function(fenmarq_gzip source name)
  set(copy ${PROJECT_BINARY_DIR}/share/${name})
  add_custom_command(OUTPUT ${copy}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
                     COMMAND ${FENMARQ_GZIP} -9nf ${copy}
                     DEPENDS ${source} VERBATIM)
  set(fenmarq_gzipped ${fenmarq_gzipped} ${copy}.gz PARENT_SCOPE)
endfunction()
foreach(manual ${fenmarq_manuals})
  configure_file(docs/${manual}.in ${PROJECT_BINARY_DIR}/man/${manual} @ONLY)
  fenmarq_gzip(${PROJECT_BINARY_DIR}/man/${manual} ${manual})
  install(FILES ${PROJECT_BINARY_DIR}/share/${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
fenmarq_gzip(${PROJECT_SOURCE_DIR}/cmake/debian/changelog changelog)
add_custom_target(fenmarq_compressed_docs ALL DEPENDS ${fenmarq_gzipped})

# Debian's copyright file: the licence's text below its copyright line, as
# an indented paragraph with "." for each empty line.
file(READ LICENSE fenmarq_licence)
string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" fenmarq_licence_paragraphs "${fenmarq_licence}")
string(REGEX REPLACE "\n$" "" fenmarq_licence_paragraphs "${fenmarq_licence_paragraphs}")
string(REPLACE "\n\n" "\n.\n" fenmarq_licence_paragraphs "${fenmarq_licence_paragraphs}")
string(REPLACE "\n" "\n " fenmarq_licence_paragraphs " ${fenmarq_licence_paragraphs}")
configure_file(cmake/debian/copyright.in ${PROJECT_BINARY_DIR}/share/copyright @ONLY)
install(FILES README.md LICENSE ${PROJECT_BINARY_DIR}/share/copyright
              ${PROJECT_BINARY_DIR}/share/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The README's picture, where the README points to it.
install(FILES docs/screenshot.png DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Fenmarq developers <fenmarq@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://fenmarq.github.io/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(FENMARQ_BUILD_GUI)
  # Qt's own libraries only recommend the plugins that put a window on the
  # screen; without them the window cannot start.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
# The window's Japanese standard dialogs, and a Japanese font where none is
# installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic")
set(CPACK_PACKAGE_DESCRIPTION
    "Fenmarq converts the binary observation files of the Japan Meteorological
Agency (kinds amd and sfc, intervals 1min and 10sec) into CSV sheets that
Excel opens directly: code page 932, Japanese label and unit rows, one row
per record. For every file it also writes a hexadecimal rendering of the
input and a verified copy of it.

The package holds the window, fenmarq, and the command line, fenmarq-cli.")
include(CPack)
