file(REMOVE_RECURSE
  "CMakeFiles/zolvek-lsp.dir/src/lsp_document.cpp.o"
  "CMakeFiles/zolvek-lsp.dir/src/lsp_document.cpp.o.d"
  "CMakeFiles/zolvek-lsp.dir/src/lsp_transport.cpp.o"
  "CMakeFiles/zolvek-lsp.dir/src/lsp_transport.cpp.o.d"
  "CMakeFiles/zolvek-lsp.dir/src/zolvek_lsp.cpp.o"
  "CMakeFiles/zolvek-lsp.dir/src/zolvek_lsp.cpp.o.d"
  "zolvek-lsp"
  "zolvek-lsp.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zolvek-lsp.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
