
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/src/indirect.cpp" "CMakeFiles/zolvek_translator.dir/src/indirect.cpp.o" "gcc" "CMakeFiles/zolvek_translator.dir/src/indirect.cpp.o.d"
  "/work/main/src/inst_table.cpp" "CMakeFiles/zolvek_translator.dir/src/inst_table.cpp.o" "gcc" "CMakeFiles/zolvek_translator.dir/src/inst_table.cpp.o.d"
  "/work/main/src/listing.cpp" "CMakeFiles/zolvek_translator.dir/src/listing.cpp.o" "gcc" "CMakeFiles/zolvek_translator.dir/src/listing.cpp.o.d"
  "/work/main/src/output.cpp" "CMakeFiles/zolvek_translator.dir/src/output.cpp.o" "gcc" "CMakeFiles/zolvek_translator.dir/src/output.cpp.o.d"
  "/work/main/src/translator.cpp" "CMakeFiles/zolvek_translator.dir/src/translator.cpp.o" "gcc" "CMakeFiles/zolvek_translator.dir/src/translator.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
