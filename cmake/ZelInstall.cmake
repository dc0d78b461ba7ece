# What `cmake --install` puts under the prefix, by component:
#   runtime  libzel.so.0 (libzel0)
#   dev      headers under include/zel, the unversioned libzel.so, zel.pc and the CMake
#            package Zel::zel (libzel-dev)
#   tools    the programs, their manual pages, the format reference, the editor files and
#            the start-up show (zel-tools)
include(CMakePackageConfigHelpers)

set(ZEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zel)

# Headers reached from roots by following #include "..." lines, as paths relative to the
# source tree.
function(zel_header_closure out)
  set(pending ${ARGN})
  set(found)
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    list(APPEND found ${header})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${header} lines REGEX "^#include \"")
    foreach(line ${lines})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

install(TARGETS zel EXPORT ZelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)

# The C interface, and the C++ interface with exactly the drawing headers it needs.
install(FILES ${PROJECT_SOURCE_DIR}/include/zel/zel.h ${PROJECT_SOURCE_DIR}/include/zel/export.h
              ${PROJECT_SOURCE_DIR}/include/zel/zel.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zel COMPONENT dev)
zel_header_closure(ZEL_CXX_HEADERS Core/IFactory.h Gfx/RenderTarget.h)
foreach(header ${ZEL_CXX_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zel/${folder} COMPONENT dev)
endforeach()

install(EXPORT ZelTargets NAMESPACE Zel:: DESTINATION ${ZEL_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZelConfig.cmake INSTALL_DESTINATION ${ZEL_CMAKE_DIR})
# 0.x: a new minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZelConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZelConfig.cmake ${PROJECT_BINARY_DIR}/ZelConfigVersion.cmake
        DESTINATION ${ZEL_CMAKE_DIR} COMPONENT dev)

# zel.pc is written at install time, so that it names the prefix actually installed to
# (cmake --install --prefix, or /usr in the packages).
install(CODE "
  set(ZEL_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(ZEL_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(ZEL_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(ZEL_PC_VERSION \"${PROJECT_VERSION}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/cmake/zel.pc.in\" \"${PROJECT_BINARY_DIR}/pkgconfig/zel.pc\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\"
       TYPE FILE FILES \"${PROJECT_BINARY_DIR}/pkgconfig/zel.pc\")
" COMPONENT dev)

# The programs keep linking the engine statically: zelrender reads engine internals
# (every variable of a document) that the library does not export.
set(ZEL_PROGRAMS zelrender)
set(ZEL_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/zelrender.1)
if(TARGET zelimport)
  list(APPEND ZEL_PROGRAMS zelimport)
  list(APPEND ZEL_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/zelimport.1)
endif()
if(TARGET ZelPlayer)
  list(APPEND ZEL_PROGRAMS ZelPlayer ZelPlayerHwnd)
  list(APPEND ZEL_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/ZelPlayer.6
       ${PROJECT_SOURCE_DIR}/docs/man/ZelPlayerHwnd.6)
endif()
if(TARGET zelview)
  list(APPEND ZEL_PROGRAMS zelview)
  list(APPEND ZEL_MAN_PAGES ${PROJECT_SOURCE_DIR}/docs/man/zelview.1)
endif()
install(TARGETS ${ZEL_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
foreach(page ${ZEL_MAN_PAGES})
  get_filename_component(section ${page} LAST_EXT)
  string(SUBSTRING ${section} 1 -1 section)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section} COMPONENT tools)
endforeach()
# The format reference with its examples and pictures, and the editor files where each
# editor looks for them.
install(FILES ${PROJECT_SOURCE_DIR}/docs/format.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zel
        COMPONENT tools)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zel
        COMPONENT tools)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/vim/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vim/vimfiles
        COMPONENT tools)
install(FILES ${PROJECT_SOURCE_DIR}/editors/scn.lang
        DESTINATION ${CMAKE_INSTALL_DATADIR}/gtksourceview-4/language-specs COMPONENT tools)
install(FILES ${PROJECT_SOURCE_DIR}/editors/scn.tmLanguage.json
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zel/editors COMPONENT tools)
# The players open data/vortel/postprocess.scn from the working directory: run them from
# share/zel.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data DESTINATION ${CMAKE_INSTALL_DATADIR}/zel
        COMPONENT tools)
