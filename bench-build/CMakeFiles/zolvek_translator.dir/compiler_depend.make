# Empty compiler generated dependencies file for zolvek_translator.
# This may be replaced when dependencies are built.
