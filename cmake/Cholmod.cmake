# CHOLMOD (SuiteSparse), the sparse Cholesky factorisation of the solid
# model's stiffness, as the imported target Velta::Cholmod. Found through
# pkg-config where SuiteSparse installs a .pc file, else by its header and
# libraries.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(CHOLMOD QUIET IMPORTED_TARGET cholmod)
endif()
add_library(Velta::Cholmod INTERFACE IMPORTED)
if(CHOLMOD_FOUND)
  target_link_libraries(Velta::Cholmod INTERFACE PkgConfig::CHOLMOD)
else()
  find_path(CHOLMOD_INCLUDE_DIR cholmod.h PATH_SUFFIXES suitesparse)
  find_library(CHOLMOD_LIBRARY cholmod)
  find_library(SUITESPARSECONFIG_LIBRARY suitesparseconfig)
  if(NOT CHOLMOD_INCLUDE_DIR OR NOT CHOLMOD_LIBRARY)
    message(FATAL_ERROR "CHOLMOD not found (Debian: libsuitesparse-dev)")
  endif()
  target_include_directories(Velta::Cholmod INTERFACE ${CHOLMOD_INCLUDE_DIR})
  target_link_libraries(Velta::Cholmod INTERFACE ${CHOLMOD_LIBRARY})
  if(SUITESPARSECONFIG_LIBRARY)
    target_link_libraries(Velta::Cholmod INTERFACE ${SUITESPARSECONFIG_LIBRARY})
  endif()
endif()
