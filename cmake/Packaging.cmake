# Debian packages through CPack: `cmake --build build --target package`
# writes three .deb files named as Debian names them,
#   libcmnw32-1    the shared library (component lib)
#   libcmnw32-dev  headers, the .so link, the static archive, pkg-config and
#                  CMake package files (component dev)
#   cmnw           the tool, its man page and bash completion (component tool)
# Each carries /usr/share/doc/<package>/copyright and changelog.Debian.gz.
set(CMNW_DEB_RELEASE 1)
set(CMNW_DEB_VERSION ${PROJECT_VERSION}-${CMNW_DEB_RELEASE})
set(CMNW_DEB_LIB libcmnw32-1)
set(CMNW_DEB_DEV libcmnw32-dev)
set(CMNW_DEB_TOOL cmnw)

# The changelog compressed as Debian wants it: best compression, no name or
# time stamp in the gzip header, so the same tree gives the same bytes.
configure_file(${CMAKE_CURRENT_LIST_DIR}/deb/changelog.in ${PROJECT_BINARY_DIR}/deb/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/deb/changelog.Debian.gz
  COMMAND gzip -9n -c changelog > changelog.Debian.gz
  DEPENDS ${PROJECT_BINARY_DIR}/deb/changelog
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/deb VERBATIM)
add_custom_target(cmnw_deb_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/deb/changelog.Debian.gz)

set(CMNW_DEB_COMPONENTS lib dev)
if(TARGET cmnw)
  list(APPEND CMNW_DEB_COMPONENTS tool)
endif()
foreach(component ${CMNW_DEB_COMPONENTS})
  string(TOUPPER ${component} upper)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/copyright ${PROJECT_BINARY_DIR}/deb/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CMNW_DEB_${upper}} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cmnw32)
set(CPACK_PACKAGE_VENDOR "CMNW32 developers")
set(CPACK_PACKAGE_CONTACT "CMNW32 developers <cmnw32@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_COMPONENTS_ALL ${CMNW_DEB_COMPONENTS})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMNW_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Run-time dependencies of every binary come from dpkg-shlibdeps; the
# tool's own library is found in the build tree and named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})

set(CPACK_DEBIAN_LIB_PACKAGE_NAME ${CMNW_DEB_LIB})
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
# The shlibs file names the library package for programs linked against it;
# the loader's cache is refreshed through dpkg's ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/deb/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIB_DESCRIPTION "general utility library of a document-composition suite
CMNW32 validates, formats and deformats field data (dates in 27 layouts,
times, numbers under numeric pictures, field masks, bar codes) under 46
built-in locales, and offers character classes, code pages, EBCDIC and UTF
conversions, numbered messages, a trace log and platform wrappers through a
flat C interface.

This package holds the shared library.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${CMNW_DEB_DEV})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "${CMNW_DEB_LIB} (= ${CMNW_DEB_VERSION}), libicu-dev, libdeflate-dev, uuid-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION "general utility library of a document-composition suite - development files
CMNW32 validates, formats and deformats field data under 46 built-in
locales and offers character, code page, message, trace and platform
services through a flat C interface.

This package holds the C headers, the static library, the pkg-config file
and the CMake package files.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME ${CMNW_DEB_TOOL})
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${CMNW_DEB_LIB} (= ${CMNW_DEB_VERSION})")
set(CPACK_COMPONENT_TOOL_DESCRIPTION "command-line front end of the CMNW32 utility library
cmnw puts the library's services on the command line; its everyday job,
cmnw fields, checks every value of a CSV file against field definitions
and rewrites it in its canonical form under a locale.")

include(CPack)
