
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/src/command_line.cpp" "CMakeFiles/zolvek_driver.dir/src/command_line.cpp.o" "gcc" "CMakeFiles/zolvek_driver.dir/src/command_line.cpp.o.d"
  "/work/main/src/diagnostics.cpp" "CMakeFiles/zolvek_driver.dir/src/diagnostics.cpp.o" "gcc" "CMakeFiles/zolvek_driver.dir/src/diagnostics.cpp.o.d"
  "/work/main/src/naming.cpp" "CMakeFiles/zolvek_driver.dir/src/naming.cpp.o" "gcc" "CMakeFiles/zolvek_driver.dir/src/naming.cpp.o.d"
  "/work/main/src/output_stage.cpp" "CMakeFiles/zolvek_driver.dir/src/output_stage.cpp.o" "gcc" "CMakeFiles/zolvek_driver.dir/src/output_stage.cpp.o.d"
  "/work/main/src/platform_posix.cpp" "CMakeFiles/zolvek_driver.dir/src/platform_posix.cpp.o" "gcc" "CMakeFiles/zolvek_driver.dir/src/platform_posix.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
