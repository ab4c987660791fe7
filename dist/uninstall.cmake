# Removes every file listed in MANIFEST (the install_manifest.txt that
# cmake --install writes, without the DESTDIR it was installed under: give
# the same DESTDIR), and the documentation folder once it is empty;
# the shared folders (games or bin, man6, xboard's plugins) stay.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "nothing to uninstall: ${MANIFEST} not found (install first, from this build)")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(path ${installed})
  set(path "$ENV{DESTDIR}${path}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
  if(path MATCHES "^(.*/share/doc/zorvu)/")
    set(doc_folder "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(doc_folder AND IS_DIRECTORY "${doc_folder}")
  file(GLOB left "${doc_folder}/*")
  if(NOT left)
    file(REMOVE_RECURSE "${doc_folder}")
  endif()
endif()
