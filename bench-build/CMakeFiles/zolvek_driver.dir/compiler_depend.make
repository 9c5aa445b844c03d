# Empty compiler generated dependencies file for zolvek_driver.
# This may be replaced when dependencies are built.
