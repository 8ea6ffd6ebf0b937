# Documents of the Help menu, generated at build time from the Markdown in
# docs/ and placed beside the program, and the tool that writes the example
# decks.

# velta_make_examples OUTDIR writes the decks of examples/ with the deck
# writer. Built on request only: cmake --build BUILD --target velta_make_examples
add_executable(velta_make_examples EXCLUDE_FROM_ALL examples/tools/make_examples.cpp)
target_link_libraries(velta_make_examples PRIVATE velta_core)
