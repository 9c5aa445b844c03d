file(REMOVE_RECURSE
  "CMakeFiles/Zolvek.dir/src/Zolvek.cpp.o"
  "CMakeFiles/Zolvek.dir/src/Zolvek.cpp.o.d"
  "Zolvek"
  "Zolvek.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/Zolvek.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
