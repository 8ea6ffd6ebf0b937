# The core's layers and the check of their direction.
#
# velta_layer(NAME GLOB... [EXCLUDE GLOB...] [LINKS LOWER...])
#   A static library of the .cpp and .h files matched by the globs (relative
#   to the source folder), linked PUBLIC to the given lower layers.
# velta_layer_files(TARGET GLOB... [EXCLUDE GLOB...] [LINKS LOWER...])
#   Records the files of a target made elsewhere (an executable, the window's
#   library) so that the check covers them too.
# velta_layer_check()
#   After every layer is declared: the target velta_layer_check, built by
#   default, and the test "layers" fail when a file includes a header of the
#   project that belongs neither to its own layer nor to one below it (the
#   layers it links to, directly or through them), or a header of no layer.

set_property(GLOBAL PROPERTY VELTA_LAYERS "")

function(_velta_layer_record name out_sources)
  cmake_parse_arguments(L "" "" "EXCLUDE;LINKS" ${ARGN})
  set(files)
  foreach(g ${L_UNPARSED_ARGUMENTS})
    file(GLOB found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${g})
    list(APPEND files ${found})
  endforeach()
  foreach(g ${L_EXCLUDE})
    file(GLOB found RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${g})
    if(found)
      list(REMOVE_ITEM files ${found})
    endif()
  endforeach()
  list(FILTER files INCLUDE REGEX "\\.(cpp|h)$")
  list(REMOVE_DUPLICATES files)
  list(SORT files)
  set_property(GLOBAL APPEND PROPERTY VELTA_LAYERS ${name})
  set_property(GLOBAL PROPERTY VELTA_LAYER_FILES_${name} ${files})
  set_property(GLOBAL PROPERTY VELTA_LAYER_LINKS_${name} ${L_LINKS})
  set(${out_sources} ${files} PARENT_SCOPE)
endfunction()

function(velta_layer name)
  _velta_layer_record(${name} files ${ARGN})
  cmake_parse_arguments(L "" "" "EXCLUDE;LINKS" ${ARGN})
  list(TRANSFORM files PREPEND ${CMAKE_SOURCE_DIR}/)
  add_library(${name} STATIC ${files})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(L_LINKS)
    target_link_libraries(${name} PUBLIC ${L_LINKS})
  endif()
endfunction()

function(velta_layer_files name)
  _velta_layer_record(${name} files ${ARGN})
endfunction()

# The layers `name` may include: itself and every layer below it.
function(_velta_layer_reach name out)
  set(reach ${name})
  set(todo ${name})
  while(todo)
    list(POP_FRONT todo current)
    get_property(links GLOBAL PROPERTY VELTA_LAYER_LINKS_${current})
    foreach(l ${links})
      if(NOT l IN_LIST reach)
        list(APPEND reach ${l})
        list(APPEND todo ${l})
      endif()
    endforeach()
  endwhile()
  set(${out} ${reach} PARENT_SCOPE)
endfunction()

function(velta_layer_check)
  get_property(layers GLOBAL PROPERTY VELTA_LAYERS)
  set(manifest ${CMAKE_BINARY_DIR}/velta_layers.cmake)
  set(text "set(VELTA_LAYERS ${layers})\n")
  set(all_files)
  foreach(l ${layers})
    get_property(files GLOBAL PROPERTY VELTA_LAYER_FILES_${l})
    _velta_layer_reach(${l} reach)
    string(APPEND text "set(VELTA_FILES_${l} ${files})\nset(VELTA_ALLOWED_${l} ${reach})\n")
    list(APPEND all_files ${files})
  endforeach()
  file(GENERATE OUTPUT ${manifest} CONTENT "${text}")
  set(check ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DSOURCE=${CMAKE_SOURCE_DIR}
      -P ${CMAKE_SOURCE_DIR}/cmake/LayerCheck.cmake)
  list(TRANSFORM all_files PREPEND ${CMAKE_SOURCE_DIR}/)
  set(stamp ${CMAKE_BINARY_DIR}/velta_layers.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${check}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${all_files} ${manifest} ${CMAKE_SOURCE_DIR}/cmake/LayerCheck.cmake
    COMMENT "Checking that every layer includes only its own and lower layers"
    VERBATIM)
  add_custom_target(velta_layer_check ALL DEPENDS ${stamp})
  foreach(l ${layers})
    if(TARGET ${l})
      add_dependencies(${l} velta_layer_check)
    endif()
  endforeach()
  if(VELTA_BUILD_TESTS)
    add_test(NAME layers COMMAND ${check})
  endif()
endfunction()
