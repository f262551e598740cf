# Run by cpack once the packages are made. CMake 3.25 writes the md5sums of the -dbgsym package
# with the absolute paths of its staging folder, so dpkg and debsums would look for files that
# are never installed, and the package lacks the doc folder that Debian's own -dbgsym packages
# carry as a link to the main package's. Both are put right here and the package is built again.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
        continue()
    endif()
    set(root "${package}.d")
    file(REMOVE_RECURSE "${root}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${root}" COMMAND_ERROR_IS_FATAL ANY)

    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${root}" "${root}/usr/*")
    list(SORT files)
    set(md5sums "")
    foreach(f IN LISTS files)
        file(MD5 "${root}/${f}" sum)
        string(APPEND md5sums "${sum}  ${f}\n")
    endforeach()
    file(WRITE "${root}/DEBIAN/md5sums" "${md5sums}")
    file(CHMOD "${root}/DEBIAN/md5sums" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

    file(MAKE_DIRECTORY "${root}/usr/share/doc")
    file(CHMOD "${root}/usr/share" "${root}/usr/share/doc" PERMISSIONS
         OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    file(CREATE_LINK "${CPACK_PACKAGE_NAME}" "${root}/usr/share/doc/${CPACK_PACKAGE_NAME}-dbgsym" SYMBOLIC)

    execute_process(COMMAND dpkg-deb --root-owner-group --build "${root}" "${package}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${root}")
endforeach()
