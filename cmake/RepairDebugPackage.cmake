# Run by cpack after it made the packages (CPACK_POST_BUILD_SCRIPTS). CPack 3.25 writes the
# debug symbol package's checksum list with its own staging path instead of the installed
# one, marks the symbol file executable and gives the package no documentation. This rebuilds
# the .ddeb as Debian's own debug packages are: checksums of the installed paths, the symbol
# file 0644, and /usr/share/doc/<package>-dbgsym a link to the program package's folder (the
# debug package depends on that exact version).
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "-dbgsym_.*\\.ddeb$")
    continue()
  endif()
  set(tree "${package}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb -R "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE symbols "${tree}/usr/lib/debug/*")
  file(CHMOD ${symbols} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  file(MAKE_DIRECTORY "${tree}/usr/share/doc")
  file(CREATE_LINK "${CPACK_PACKAGE_NAME}" "${tree}/usr/share/doc/${CPACK_PACKAGE_NAME}-dbgsym"
       SYMBOLIC)
  set(sums "")
  list(SORT symbols)
  foreach(symbol IN LISTS symbols)
    file(MD5 "${symbol}" sum)
    file(RELATIVE_PATH installed "${tree}" "${symbol}")
    string(APPEND sums "${sum}  ${installed}\n")
  endforeach()
  file(WRITE "${tree}/DEBIAN/md5sums" "${sums}")
  execute_process(COMMAND dpkg-deb --root-owner-group -b "${tree}" "${package}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
