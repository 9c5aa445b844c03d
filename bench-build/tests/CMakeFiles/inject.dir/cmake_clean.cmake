file(REMOVE_RECURSE
  "CMakeFiles/inject.dir/fault/inject.cpp.o"
  "CMakeFiles/inject.dir/fault/inject.cpp.o.d"
  "libinject.pdb"
  "libinject.so"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/inject.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
