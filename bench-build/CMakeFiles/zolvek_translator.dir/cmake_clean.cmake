file(REMOVE_RECURSE
  "CMakeFiles/zolvek_translator.dir/src/indirect.cpp.o"
  "CMakeFiles/zolvek_translator.dir/src/indirect.cpp.o.d"
  "CMakeFiles/zolvek_translator.dir/src/inst_table.cpp.o"
  "CMakeFiles/zolvek_translator.dir/src/inst_table.cpp.o.d"
  "CMakeFiles/zolvek_translator.dir/src/listing.cpp.o"
  "CMakeFiles/zolvek_translator.dir/src/listing.cpp.o.d"
  "CMakeFiles/zolvek_translator.dir/src/output.cpp.o"
  "CMakeFiles/zolvek_translator.dir/src/output.cpp.o.d"
  "CMakeFiles/zolvek_translator.dir/src/translator.cpp.o"
  "CMakeFiles/zolvek_translator.dir/src/translator.cpp.o.d"
  "libzolvek_translator.a"
  "libzolvek_translator.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zolvek_translator.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
