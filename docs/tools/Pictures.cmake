# Draws the pictures of the user guide with the batch tool:
#   cmake -DCLI=velta-cli -DEXAMPLES=examples -DOUT=dir -P Pictures.cmake
# The analysis of the double-curvature example is run once; each picture is
# then drawn from the deck and its results. A picture that cannot be drawn is
# skipped with one line of explanation: the guide shows a placeholder.

set(case ${EXAMPLES}/double_curvature.dat)
set(run ${OUT}/run)
file(REMOVE_RECURSE ${run})
file(MAKE_DIRECTORY ${run})

execute_process(COMMAND ${CLI} run ${case} ${run}
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err TIMEOUT 600)
if(NOT rc EQUAL 0)
  string(STRIP "${err}" err)
  message(STATUS "pictures: the analysis of the example did not run: ${err}")
endif()
file(GLOB plt ${run}/*.PLT)
file(GLOB out ${run}/*.OUT)
set(results)
if(plt AND out)
  list(GET plt 0 plt)
  list(GET out 0 out)
  set(results --results ${plt} ${out})
endif()

# picture file = view drawn (names of the batch tool's views)
set(pictures
  "geometry_2d.png=2d"
  "geometry_3d.png=3d"
  "deflection.png=deflection"
  "stresses.png=stresses"
  "abutment_forces.png=forces"
  "loads.png=loads")
set(drawn 0)
foreach(entry ${pictures})
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 file)
  list(GET pair 1 view)
  set(extra)
  if(NOT view STREQUAL "2d")
    set(extra ${results})
  endif()
  execute_process(COMMAND ${CLI} draw ${case} ${view} ${OUT}/${file} ${extra} --size 1100x700
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
  if(rc EQUAL 0 AND EXISTS ${OUT}/${file})
    math(EXPR drawn "${drawn} + 1")
  else()
    file(REMOVE ${OUT}/${file})
  endif()
endforeach()
message(STATUS "pictures: ${drawn} of 6 drawn into ${OUT}")
