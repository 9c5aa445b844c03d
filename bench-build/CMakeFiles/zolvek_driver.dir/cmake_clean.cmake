file(REMOVE_RECURSE
  "CMakeFiles/zolvek_driver.dir/src/command_line.cpp.o"
  "CMakeFiles/zolvek_driver.dir/src/command_line.cpp.o.d"
  "CMakeFiles/zolvek_driver.dir/src/diagnostics.cpp.o"
  "CMakeFiles/zolvek_driver.dir/src/diagnostics.cpp.o.d"
  "CMakeFiles/zolvek_driver.dir/src/naming.cpp.o"
  "CMakeFiles/zolvek_driver.dir/src/naming.cpp.o.d"
  "CMakeFiles/zolvek_driver.dir/src/output_stage.cpp.o"
  "CMakeFiles/zolvek_driver.dir/src/output_stage.cpp.o.d"
  "CMakeFiles/zolvek_driver.dir/src/platform_posix.cpp.o"
  "CMakeFiles/zolvek_driver.dir/src/platform_posix.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zolvek_driver.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
