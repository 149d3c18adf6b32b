# The Debian package. In a build folder, "cpack -G DEB" installs the program
# under /usr and wraps it as junctra_VERSION_ARCH.deb. The files installed
# here complete the package: documentation, manual page, AppStream metadata.

# The changelog and the manual page go in compressed, made at build time.
# gzip -n leaves out name and time stamp, so the files are reproducible.
set(compressed)
foreach(file changelog junctra.1)
  set(copy ${CMAKE_BINARY_DIR}/packaging/${file})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${file} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${file}
    COMMENT "Compressing ${file}"
    VERBATIM)
  list(APPEND compressed ${copy}.gz)
endforeach()
add_custom_target(junctra_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/junctra)
install(FILES ${CMAKE_BINARY_DIR}/packaging/junctra.1.gz DESTINATION share/man/man1)
if(JUNCTRA_BUILD_UI)
  # Describes the desktop entry the dialogs install.
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/invalid.junctra.junctra.metainfo.xml DESTINATION share/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME junctra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Junctra)
set(CPACK_PACKAGE_CONTACT "Junctra <dev@junctra.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "merge two tag databases into one")
set(CPACK_PACKAGE_DESCRIPTION [[
Junctra merges two tag databases, folders holding a tag list (tagl.txt) and
optionally a class list (class.lst). It checks that every class and tag the
two have in common is defined the same way and then writes the union into an
output folder; when definitions conflict it writes nothing and lists every
conflict.

It runs as a small dialog and as a batch command for scripts. Its texts come
in English and German.]])
# Relative install destinations land under /usr whatever the build's prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders get 0755 whatever the umask of the one who packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the binaries link (dpkg-shlibdeps), and Qt's
# own translations, so that the folder chooser and the menus speak the
# satellite's language too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(JUNCTRA_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
endif()
include(CPack)
