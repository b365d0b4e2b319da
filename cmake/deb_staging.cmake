# Run by cpack after it has installed the files into its staging directory and before it builds
# the package: turns the plain installation into what Debian expects.
#   - the man pages gzipped (gzip -9n: best compression, no name or time stamp);
#   - the changelog (changelog.Debian.gz), gzipped the same way, next to the copyright file;
#   - the lintian override, which declares the static link deliberate;
#   - every directory mode 755, whatever the umask (cpack makes the staging directories itself).
# These exist in the package only; `cmake --install` leaves the man pages plain.
set(mt_root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(mt_docdir "${mt_root}/share/doc/messages-tool")
set(mt_overrides "${mt_root}/share/lintian/overrides")

function(mt_gzip source target)
  execute_process(COMMAND gzip -9n -c "${source}" OUTPUT_FILE "${target}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9n ${source} failed")
  endif()
  file(CHMOD "${target}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

# Every page that the install rules put there (their list is in cmake/install.cmake).
file(GLOB mt_pages "${mt_root}/share/man/man1/*.1")
foreach(mt_man IN LISTS mt_pages)
  mt_gzip("${mt_man}" "${mt_man}.gz")
  file(REMOVE "${mt_man}")
endforeach()
# The package has a Debian revision, so its changelog is the Debian one.
mt_gzip("${MT_DEB_FILES_DIR}/changelog" "${mt_docdir}/changelog.Debian.gz")

file(MAKE_DIRECTORY "${mt_overrides}")
file(COPY_FILE "${MT_DEB_FILES_DIR}/lintian-overrides" "${mt_overrides}/messages-tool")
file(CHMOD "${mt_overrides}/messages-tool" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(GLOB_RECURSE mt_entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(mt_entry IN LISTS mt_entries)
  if(IS_DIRECTORY "${mt_entry}")
    file(CHMOD "${mt_entry}"
         PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
