#----------------------------------------------------------------
# Generated CMake target import file for configuration "RelWithDebInfo".
#----------------------------------------------------------------

# Commands may need to know the format version.
set(CMAKE_IMPORT_FILE_VERSION 1)

# Import target "Zolvek::Zolvek" for configuration "RelWithDebInfo"
set_property(TARGET Zolvek::Zolvek APPEND PROPERTY IMPORTED_CONFIGURATIONS RELWITHDEBINFO)
set_target_properties(Zolvek::Zolvek PROPERTIES
  IMPORTED_LOCATION_RELWITHDEBINFO "${_IMPORT_PREFIX}/bin/Zolvek"
  )

list(APPEND _cmake_import_check_targets Zolvek::Zolvek )
list(APPEND _cmake_import_check_files_for_Zolvek::Zolvek "${_IMPORT_PREFIX}/bin/Zolvek" )

# Commands beyond this point should not need to know the version.
set(CMAKE_IMPORT_FILE_VERSION)
