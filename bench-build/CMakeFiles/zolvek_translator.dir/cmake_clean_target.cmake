file(REMOVE_RECURSE
  "libzolvek_translator.a"
)
