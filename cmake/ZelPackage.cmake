# Debian packages, one per install component (cpack -G DEB, or scripts/package.sh):
#   libzel0     the shared library
#   libzel-dev  headers, libzel.so, zel.pc, the CMake package
#   zel-tools   the players, zelrender, zelimport, their manual pages, the format
#               reference, the editor files, the start-up show
# Each description's first line is its summary. Dependencies on other packages come from dpkg-shlibdeps; the two others depend on libzel0
# of exactly this version.
set(CPACK_PACKAGE_NAME zel)
set(CPACK_PACKAGE_VENDOR "ZEL")
set(CPACK_PACKAGE_CONTACT "ZEL maintainers <maintainers@zel.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY zel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_COMPONENTS_ALL runtime dev tools)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(ZEL_SAME_LIBRARY "libzel0 (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzel0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# A shlibs file for programs built against libzel (exactly this version while the
# interface may change under SONAME 0), and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "2-D vector animation engine, shared library\nLoads animation documents in the plain-text Scenimator{ format, updates them\nwith a millisecond clock and renders them into a caller's pixel buffer.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzel-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${ZEL_SAME_LIBRARY}")
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "2-D vector animation engine, development files\nThe C interface zel/zel.h, the C++ interface zel/zel.hpp, pkg-config's zel and\nthe CMake package Zel (target Zel::zel).")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zel-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "${ZEL_SAME_LIBRARY}")
set(CPACK_DEBIAN_TOOLS_DESCRIPTION
    "2-D vector animation players and offscreen renderer\nZelPlayer (full screen) and ZelPlayerHwnd (a window) play the start-up show in\n/usr/share/zel; zelrender draws any document to PNG, prints its variables and\ntimes its frames; zelimport brings SVG artwork into documents. With the format\nreference and syntax highlighting for Vim, GtkSourceView editors and TextMate\ngrammars.")

include(CPack)
