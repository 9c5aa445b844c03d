# Empty dependencies file for Zolvek.
# This may be replaced when dependencies are built.
