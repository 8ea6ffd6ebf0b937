# cmake -DMANIFEST=velta_layers.cmake -DSOURCE=<source folder> -P LayerCheck.cmake
# Fails, naming each offending line, when a file of a layer includes a
# project header of a layer that is not its own or below it, or a project
# header that belongs to no layer. Headers of the system and of the
# libraries used (#include <...>) are not looked at.
cmake_minimum_required(VERSION 3.22)
include(${MANIFEST})

foreach(layer ${VELTA_LAYERS})
  foreach(f ${VELTA_FILES_${layer}})
    set("owner_${f}" ${layer})
  endforeach()
endforeach()

set(errors "")
set(count 0)
foreach(layer ${VELTA_LAYERS})
  foreach(f ${VELTA_FILES_${layer}})
    file(STRINGS ${SOURCE}/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      if(DEFINED "owner_${header}")
        set(owner "${owner_${header}}")
        if(NOT owner IN_LIST VELTA_ALLOWED_${layer})
          string(APPEND errors "  ${f} (${layer}) includes ${header} of ${owner}, which is not below it\n")
          math(EXPR count "${count} + 1")
        endif()
      elseif(header MATCHES "/" AND EXISTS ${SOURCE}/${header})
        string(APPEND errors "  ${f} (${layer}) includes ${header}, which belongs to no layer\n")
        math(EXPR count "${count} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(count GREATER 0)
  message(FATAL_ERROR "${count} include(s) against the direction of the layers:\n${errors}")
endif()
