# The Debian package xel02: the program on the PATH, the component library and the object model's
# run time in a folder of their own, the desktop entry and icon, and the store's SQL files. Made by
# `cpack` in the build folder, or `cmake --build DIR --target package`.
include(GNUInstallDirs)

set(XEL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/xel02)
# The machine's registry; platform/com/Registry.cpp names the same file.
set(XEL02_SYSTEM_REGISTRY /var/lib/xel02/registry)
file(RELATIVE_PATH private_from_bin /${CMAKE_INSTALL_BINDIR} /${XEL_PRIVATE_LIBDIR})

# Everything is found relative to the file that needs it, so that an unpacked tree works wherever
# it is. The build tree holds the program and its private libraries at the same places relative to
# each other, so that the one RUNPATH serves both and nothing is edited at install time: CMake makes
# room for such an edit by ending the build's RUNPATH with an empty element, which the loader reads
# as the current folder.
cmake_path(ABSOLUTE_PATH private_from_bin BASE_DIRECTORY ${CMAKE_BINARY_DIR}/host/app NORMALIZE
           OUTPUT_VARIABLE private_build_dir)
set_target_properties(xel02 PROPERTIES INSTALL_RPATH "$ORIGIN/${private_from_bin}"
                                       RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/host/app)
set_target_properties(XEL02 PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(xel02 XEL02 PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
set_target_properties(XEL02 xel_com PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${private_build_dir})
target_compile_definitions(
  xel02 PRIVATE XEL02_INSTALLED_LIBRARY="${private_from_bin}/$<TARGET_FILE_NAME:XEL02>")

install(TARGETS xel02 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS XEL02 xel_com LIBRARY DESTINATION ${XEL_PRIVATE_LIBDIR})
# The machine's registry folder is the package's own: root's, and writable by root only.
get_filename_component(system_registry_folder ${XEL02_SYSTEM_REGISTRY} DIRECTORY)
install(DIRECTORY DESTINATION ${system_registry_folder}
        DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                              WORLD_READ WORLD_EXECUTE)
add_subdirectory(packaging)

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(XEL02_PROGRAM ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/xel02)
set(maintainer_scripts "")
foreach(script postinst prerm postrm)
  configure_file(packaging/${script}.in ${CMAKE_BINARY_DIR}/packaging/debian/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  list(APPEND maintainer_scripts ${CMAKE_BINARY_DIR}/packaging/debian/${script})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xel02)
set(CPACK_PACKAGE_VENDOR XEL02)
set(CPACK_PACKAGE_CONTACT "Equipo de XEL02 <xel02@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor of the system variables kept in a SQL store")
set(CPACK_PACKAGE_DESCRIPTION
    "XEL02 shows the classes and variables of the XEL_Clase_Variable and\n\
XEL_Configuracion tables as a tree, and adds, edits, moves and deletes them\n\
on SQLite, PostgreSQL or SQL Server (through ODBC). The package registers\n\
the editor component for every user, and holds the tables' SQL for each\n\
server and the demo settings in /usr/share/xel02.")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The private libraries are the package's own: dpkg-shlibdeps needs no package for them.
string(REGEX REPLACE "^/" "" staged_prefix ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${staged_prefix}/${XEL_PRIVATE_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-postgresql, tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${maintainer_scripts})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
