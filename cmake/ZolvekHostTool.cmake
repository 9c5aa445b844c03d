# A Zolvek for the build machine, when a firmware build that cross-compiles for
# its target includes Zolvek: ZOLVEK_EXECUTABLE when given; else one built here
# from these very sources with the build machine's C++ compiler, so that edits
# to them reach the headers; only where the build machine has no C++ compiler, a
# Zolvek of this very version on the PATH. Defines the imported executable
# Zolvek::Zolvek.
set(ZOLVEK_EXECUTABLE "" CACHE FILEPATH
    "A Zolvek ${PROJECT_VERSION} that runs on the build machine (default: built from these sources)")
set(ZOLVEK_HOST_CXX_COMPILER "" CACHE STRING
    "The C++ compiler (name or path) that builds Zolvek for the build machine (default: the host's own)")
# What `path --version` prints, or why it prints nothing.
function(zolvek_version_of path result)
  execute_process(COMMAND "${path}" --version RESULT_VARIABLE status OUTPUT_VARIABLE text
                  ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    set(text "it does not run")
  endif()
  set(${result} "${text}" PARENT_SCOPE)
endfunction()
set(zolvek_wanted "Zolvek ${PROJECT_VERSION}")
set(zolvek_host_binary "")
# The build machine's C++ compiler: the one given, or its usual names.
set(zolvek_host_cxx "${ZOLVEK_HOST_CXX_COMPILER}")
if(NOT zolvek_host_cxx)
  find_program(zolvek_found_cxx NAMES c++ g++ clang++ cl NO_CMAKE_FIND_ROOT_PATH)
  set(zolvek_host_cxx "${zolvek_found_cxx}")
  unset(zolvek_found_cxx CACHE) # looked for again at each configure
endif()
if(ZOLVEK_EXECUTABLE)
  zolvek_version_of("${ZOLVEK_EXECUTABLE}" found)
  if(NOT found STREQUAL zolvek_wanted)
    message(FATAL_ERROR "ZOLVEK_EXECUTABLE '${ZOLVEK_EXECUTABLE}': ${found}; "
                        "this build needs ${zolvek_wanted}")
  endif()
  set(zolvek_host_binary "${ZOLVEK_EXECUTABLE}")
elseif(NOT zolvek_host_cxx)
  find_program(zolvek_found NAMES Zolvek NO_CMAKE_FIND_ROOT_PATH)
  set(zolvek_on_path "${zolvek_found}")
  unset(zolvek_found CACHE) # looked for again at each configure
  if(zolvek_on_path)
    zolvek_version_of("${zolvek_on_path}" found)
    if(found STREQUAL zolvek_wanted)
      set(zolvek_host_binary "${zolvek_on_path}")
      message(STATUS "Zolvek: no C++ compiler for the build machine, so the bundled sources "
                     "are not used")
    else()
      message(STATUS "Zolvek: not using ${zolvek_on_path} (${found}, not ${zolvek_wanted})")
    endif()
  endif()
endif()
add_executable(Zolvek::Zolvek IMPORTED GLOBAL)
if(zolvek_host_binary)
  message(STATUS "Zolvek: using ${zolvek_host_binary}")
else()
  include(ExternalProject)
  set(zolvek_host_binary "${CMAKE_CURRENT_BINARY_DIR}/host/Zolvek${CMAKE_HOST_EXECUTABLE_SUFFIX}")
  message(STATUS "Zolvek: building ${zolvek_host_binary} for the build machine")
  # Release wherever the generator puts its configurations, so the binary is
  # where the build looks for it.
  set(zolvek_host_options -DZOLVEK_TESTS=OFF -DZOLVEK_INSTALL=OFF -DCMAKE_BUILD_TYPE=Release
      "-DCMAKE_RUNTIME_OUTPUT_DIRECTORY_RELEASE=${CMAKE_CURRENT_BINARY_DIR}/host")
  if(ZOLVEK_HOST_CXX_COMPILER)
    list(APPEND zolvek_host_options "-DCMAKE_CXX_COMPILER=${ZOLVEK_HOST_CXX_COMPILER}")
  endif()
  # The target's compiler environment is not the build machine's.
  set(zolvek_host_env "${CMAKE_COMMAND}" -E env --unset=CC --unset=CXX --unset=CFLAGS
      --unset=CXXFLAGS --unset=CPPFLAGS --unset=LDFLAGS --unset=CMAKE_TOOLCHAIN_FILE)
  ExternalProject_Add(zolvek_host
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${CMAKE_CURRENT_BINARY_DIR}/host"
    # A configure that runs again (another compiler, say) starts from a new cache.
    CONFIGURE_COMMAND "${CMAKE_COMMAND}" -E rm -f <BINARY_DIR>/CMakeCache.txt
      COMMAND ${zolvek_host_env} "${CMAKE_COMMAND}" -S <SOURCE_DIR> -B <BINARY_DIR>
              ${zolvek_host_options}
    BUILD_COMMAND ${zolvek_host_env} "${CMAKE_COMMAND}" --build <BINARY_DIR> --config Release
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS "${zolvek_host_binary}")
  # Built again when its sources or version change, and only then.
  file(GLOB zolvek_host_inputs CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/*"
       "${PROJECT_SOURCE_DIR}/CMakeLists.txt")
  ExternalProject_Add_StepDependencies(zolvek_host build ${zolvek_host_inputs})
  set_property(GLOBAL PROPERTY ZOLVEK_HOST_BUILD zolvek_host)
endif()
set_target_properties(Zolvek::Zolvek PROPERTIES IMPORTED_LOCATION "${zolvek_host_binary}")
