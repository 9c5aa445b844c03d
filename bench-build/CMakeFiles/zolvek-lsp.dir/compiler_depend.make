# Empty compiler generated dependencies file for zolvek-lsp.
# This may be replaced when dependencies are built.
