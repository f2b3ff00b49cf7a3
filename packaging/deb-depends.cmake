# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Run by CPack once it has staged the files: the Debian package depends on the packages of the
# libraries that dpkg-shlibdeps finds the program and its print helper loading, and on the fonts.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
set(work ${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps)
# dpkg-shlibdeps insists on a control file, though it reads nothing from this one.
file(MAKE_DIRECTORY ${work}/debian)
file(TOUCH ${work}/debian/control)
set(binaries)
foreach(file IN LISTS CPACK_LCTUNE_ELF_FILES)
    list(APPEND binaries -e${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${file})
endforeach()
execute_process(COMMAND dpkg-shlibdeps -O ${binaries}
    WORKING_DIRECTORY ${work}
    OUTPUT_VARIABLE substvars
    COMMAND_ERROR_IS_FATAL ANY)
if(NOT substvars MATCHES "shlibs:Depends=([^\n]+)")
    message(FATAL_ERROR "dpkg-shlibdeps found no dependencies:\n${substvars}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_LCTUNE_FONT_DEPENDS}")
