# Empty dependencies file for library_check.
# This may be replaced when dependencies are built.
