# Documents of the Help menu, generated at build time from the Markdown in
# docs/ and placed beside the program, and the tool that writes the example
# decks.

option(VELTA_BUILD_DOCS "Generate the PDF documents of the Help menu" ON)
option(VELTA_DOC_PICTURES "Draw the user guide's pictures with velta-cli on the examples" ON)

# velta_make_examples OUTDIR writes the decks of examples/ with the deck
# writer (with --family, the family of test dams of tests/data/family). Built on request only: cmake --build BUILD --target velta_make_examples
add_executable(velta_make_examples EXCLUDE_FROM_ALL examples/tools/make_examples.cpp)
target_link_libraries(velta_make_examples PRIVATE velta_geometry velta_deck)

if(VELTA_BUILD_DOCS)
  add_executable(velta_mdpdf docs/tools/mdpdf.cpp)
  target_link_libraries(velta_mdpdf PRIVATE velta_model Qt6::Gui)

  set(VELTA_DOC_DIR ${CMAKE_BINARY_DIR}/bin)
  set(VELTA_DOC_IMAGES ${CMAKE_BINARY_DIR}/docs/images)
  file(GLOB VELTA_DOC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md)
  file(GLOB VELTA_EXAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/*.dat)
  # The tool runs headless; leak reports of the toolkit's font code would
  # fail a sanitizer build.
  set(VELTA_DOC_ENV ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0)

  # Pictures of the user guide, drawn by the program itself. A picture that
  # cannot be drawn is left out, and the guide shows a placeholder line.
  set(VELTA_PICTURES_STAMP ${VELTA_DOC_IMAGES}/pictures.stamp)
  if(VELTA_DOC_PICTURES)
    add_custom_command(OUTPUT ${VELTA_PICTURES_STAMP}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTA_DOC_IMAGES}
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
              ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:velta-cli> -DEXAMPLES=${CMAKE_SOURCE_DIR}/examples
              -DOUT=${VELTA_DOC_IMAGES} -P ${CMAKE_SOURCE_DIR}/docs/tools/Pictures.cmake
      COMMAND ${CMAKE_COMMAND} -E touch ${VELTA_PICTURES_STAMP}
      DEPENDS velta-cli velta_dos ${VELTA_EXAMPLES} ${CMAKE_SOURCE_DIR}/docs/tools/Pictures.cmake
      COMMENT "Drawing the user guide's pictures"
      VERBATIM)
  else()
    add_custom_command(OUTPUT ${VELTA_PICTURES_STAMP}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTA_DOC_IMAGES}
      COMMAND ${CMAKE_COMMAND} -E touch ${VELTA_PICTURES_STAMP}
      VERBATIM)
  endif()

  # name of the PDF beside the program -> Markdown source
  set(VELTA_DOCS
    "How_to_use_Velta.pdf=user_guide.md"
    "VELTA_guide_1997.PDF=reference.md"
    "Trial_load_method_history.pdf=history.md")
  set(VELTA_DOC_OUTPUTS)
  foreach(entry ${VELTA_DOCS})
    string(REPLACE "=" ";" pair ${entry})
    list(GET pair 0 pdf)
    list(GET pair 1 md)
    add_custom_command(OUTPUT ${VELTA_DOC_DIR}/${pdf}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VELTA_DOC_DIR}
      COMMAND ${VELTA_DOC_ENV} $<TARGET_FILE:velta_mdpdf> ${CMAKE_SOURCE_DIR}/docs/${md}
              ${VELTA_DOC_DIR}/${pdf} --images ${VELTA_DOC_IMAGES}
      DEPENDS velta_mdpdf ${VELTA_DOC_SOURCES} ${VELTA_PICTURES_STAMP}
      COMMENT "Generating ${pdf}"
      VERBATIM)
    list(APPEND VELTA_DOC_OUTPUTS ${VELTA_DOC_DIR}/${pdf})
  endforeach()
  add_custom_target(velta_docs ALL DEPENDS ${VELTA_DOC_OUTPUTS})
endif()
