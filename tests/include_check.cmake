# Include hygiene: every header that a program's sources reach, directly or
# through other headers, names that program's edition on its "// Editions:"
# line, and every edition a header names does reach it. So a source shared by
# several editions can include only headers that all of them serve, and a
# header's line tells truly which programs it goes into.
#
# cmake -DSOURCE_DIR=<tree> -DEDITION_SOURCES=<file> -P include_check.cmake
# The file sets EDITIONS (such as "3.5;3.0;2.3") and, per edition with its
# dot removed (35), SOURCES_35 (the sources of its programs) and DIR_35 (the
# folder of its edition.h).
cmake_minimum_required(VERSION 3.20)
include(${EDITION_SOURCES})

set(failures 0)
macro(fail text)
  message(STATUS "FAIL: ${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

# The edition list of a header's "// Editions:" line (up to its first ';'),
# or "none".
function(editions_of header out)
  file(STRINGS ${header} line REGEX "^// Editions: " LIMIT_COUNT 1)
  if(NOT line)
    set(${out} "none" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "^// Editions: ([^;]*).*" "\\1" list "${line}")
  string(REPLACE "\\" "" list "${list}")   # file(STRINGS) writes a ';' of the line as "\;"
  set(${out} "${list}" PARENT_SCOPE)
endfunction()

set(reached_all)
foreach(edition ${EDITIONS})
  string(REPLACE "." "" tag ${edition})
  set(queue)
  foreach(source ${SOURCES_${tag}})
    if(NOT IS_ABSOLUTE ${source})
      set(source ${SOURCE_DIR}/${source})
    endif()
    list(APPEND queue ${source})
  endforeach()
  set(seen ${queue})
  while(queue)
    list(POP_FRONT queue file)
    file(STRINGS ${file} includes REGEX "^#include \"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" name "${line}")
      if(name STREQUAL "edition.h")
        set(header ${SOURCE_DIR}/${DIR_${tag}}/edition.h)
      elseif(EXISTS ${SOURCE_DIR}/${name})
        set(header ${SOURCE_DIR}/${name})
      else()
        get_filename_component(dir ${file} DIRECTORY)
        set(header ${dir}/${name})
      endif()
      if(header IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${header})
      list(APPEND queue ${header})
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${header})
      file(RELATIVE_PATH from ${SOURCE_DIR} ${file})
      list(APPEND reached_all "${edition}:${shown}")
      editions_of(${header} owners)
      string(FIND "${owners}" "${edition}" at)
      if(at LESS 0)
        fail("${from} (edition ${edition}) includes ${shown}, whose Editions line is: ${owners}")
      endif()
    endforeach()
  endwhile()
endforeach()

# The converse: a header that names an edition is reached by it.
file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/board/*.h ${SOURCE_DIR}/bitboard/*.h ${SOURCE_DIR}/moves/*.h
     ${SOURCE_DIR}/search/*.h ${SOURCE_DIR}/hash/*.h ${SOURCE_DIR}/eval/*.h
     ${SOURCE_DIR}/book/*.h ${SOURCE_DIR}/frontend/*.h ${SOURCE_DIR}/editions/*.h
     ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/bench/*.h)
foreach(header ${headers})
  editions_of(${SOURCE_DIR}/${header} owners)
  if(owners STREQUAL "none")
    fail("${header} has no Editions line")
    continue()
  endif()
  foreach(edition ${EDITIONS})
    string(FIND "${owners}" "${edition}" at)
    if(at GREATER_EQUAL 0 AND NOT "${edition}:${header}" IN_LIST reached_all)
      fail("${header} names edition ${edition}, whose programs never include it")
    endif()
  endforeach()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} include rule(s) broken")
endif()
message(STATUS "every header is included only by the editions it names")
