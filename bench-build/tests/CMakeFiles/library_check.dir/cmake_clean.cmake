file(REMOVE_RECURSE
  "CMakeFiles/library_check.dir/library/library_check.cpp.o"
  "CMakeFiles/library_check.dir/library/library_check.cpp.o.d"
  "library_check"
  "library_check.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/library_check.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
