# cmake --install: the program, the analysis engine, the batch tool, the help
# documents and the pictures all go into one folder, <prefix>/libexec/velta,
# because the program looks for everything beside itself. <prefix>/bin gets
# links to the program and the batch tool; the desktop entry and the icon go
# where desktop environments look for them.
include(GNUInstallDirs)

set(VELTA_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/velta)

set(VELTA_INSTALL_TARGETS velta_dos velta-cli)
if(VELTA_BUILD_GUI)
  list(APPEND VELTA_INSTALL_TARGETS velta)
endif()
install(TARGETS ${VELTA_INSTALL_TARGETS} RUNTIME DESTINATION ${VELTA_INSTALL_DIR})

if(VELTA_BUILD_DOCS)
  install(FILES ${VELTA_DOC_OUTPUTS} DESTINATION ${VELTA_INSTALL_DIR})
endif()

# The splash and about pictures are generated into the program's folder of
# the build; every JPEG found there at install time goes along.
install(CODE "
  file(GLOB velta_pictures \"${CMAKE_BINARY_DIR}/bin/*.jpg\")
  if(velta_pictures)
    file(INSTALL \${velta_pictures} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${VELTA_INSTALL_DIR}\") # honours DESTDIR
  endif()
")

# Relative links in <prefix>/bin, so that the installed tree can be moved.
file(RELATIVE_PATH VELTA_BIN_TO_DIR /${CMAKE_INSTALL_BINDIR} /${VELTA_INSTALL_DIR})
set(VELTA_LINKS velta-cli)
if(VELTA_BUILD_GUI)
  list(APPEND VELTA_LINKS velta)
endif()
foreach(name ${VELTA_LINKS})
  install(CODE "
    set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bindir}\")
    file(REMOVE \"\${bindir}/${name}\")
    message(STATUS \"Installing: \${bindir}/${name} -> ${VELTA_BIN_TO_DIR}/${name}\")
    file(CREATE_LINK \"${VELTA_BIN_TO_DIR}/${name}\" \"\${bindir}/${name}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${bindir}/${name}\")
  ")
endforeach()

install(FILES examples/README.md examples/simple.dat examples/double_curvature.dat examples/two_centred.dat
  examples/si_units.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/velta/examples)

if(VELTA_BUILD_GUI)
  # The desktop entry names the program by its full path, known only once the
  # prefix of the installation is.
  install(CODE "
    set(VELTA_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velta\")
    configure_file(\"${CMAKE_SOURCE_DIR}/docs/desktop/velta.desktop.in\" \"${CMAKE_BINARY_DIR}/velta.desktop\" @ONLY)
    file(INSTALL \"${CMAKE_BINARY_DIR}/velta.desktop\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
  ")
  install(FILES docs/desktop/velta.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Marks the installed folder, so that the program keeps its scratch files in
# the user's work folder however the folder's permissions are set.
install(FILES docs/desktop/velta.installed DESTINATION ${VELTA_INSTALL_DIR})
