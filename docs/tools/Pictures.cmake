# Draws the pictures of the user guide with the batch tool:
#   cmake -DCLI=velta-cli -DEXAMPLES=examples -DOUT=dir -P Pictures.cmake
# The double-curvature example is run once with `velta-cli run`, which
# leaves a picture of each view in its output folder; each is copied under
# the name the guide uses. When the analysis gives no results, the pictures
# that need them are skipped with one line of explanation (the guide shows a
# placeholder) and the documents still build.

set(case ${EXAMPLES}/double_curvature.dat)
set(run ${OUT}/run)
file(REMOVE_RECURSE ${run})

# picture of the guide = view drawn by the batch tool (<view>.png)
set(pictures
  "geometry_2d.png=geometry"
  "geometry_3d.png=3d"
  "deflection.png=deflection"
  "stresses.png=stresses"
  "abutment_forces.png=forces"
  "loads.png=loads")
foreach(entry ${pictures})
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 file)
  file(REMOVE ${OUT}/${file})
endforeach()

execute_process(COMMAND ${CLI} run ${case} ${run}
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err TIMEOUT 600)
if(NOT rc EQUAL 0)
  string(REGEX REPLACE "\n.*" "" first "${err}")
  message(STATUS "pictures: the analysis of the example did not complete (${rc}): ${first}")
endif()

set(drawn 0)
set(skipped)
foreach(entry ${pictures})
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 file)
  list(GET pair 1 view)
  if(EXISTS ${run}/${view}.png)
    file(COPY_FILE ${run}/${view}.png ${OUT}/${file})
    math(EXPR drawn "${drawn} + 1")
  else()
    list(APPEND skipped ${view})
  endif()
endforeach()
if(skipped)
  list(JOIN skipped ", " skipped)
  message(STATUS "pictures: ${drawn} of 6 drawn into ${OUT}; skipped: ${skipped}")
else()
  message(STATUS "pictures: 6 of 6 drawn into ${OUT}")
endif()
