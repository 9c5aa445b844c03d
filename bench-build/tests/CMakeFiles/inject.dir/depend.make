# Empty dependencies file for inject.
# This may be replaced when dependencies are built.
