# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Run by CPack as it stages a package's files: the Debian package alone gets the files of
# CPACK_LCTUNE_DEB_FILES, given as pairs of a file and its directory under the prefix.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
set(files ${CPACK_LCTUNE_DEB_FILES})
while(files)
    list(POP_FRONT files file directory)
    # Under the package's prefix, which CPack's DESTDIR puts in the staging directory; the build's
    # own CMAKE_INSTALL_PREFIX is not the package's.
    file(INSTALL ${file} DESTINATION ${CPACK_PACKAGING_INSTALL_PREFIX}/${directory}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endwhile()
