# zolvek_add_header(<target> <file.ep>... [NAME <name>] [SCOPE PRIVATE|PUBLIC|INTERFACE]
#                   [OUTPUT_VARIABLE <var>] [DEFINES] [LISTING] [DECLARATIONS]
#                   [LINE_DIRECTIVES] [FATAL_WARNINGS])
#
# Converts each Event Processor source into a header in the build tree,
# <target's binary dir>/zolvek_<target>/<name>.h holding the array <name>[], and
# adds that directory to the target's include path. <name> is the source's file
# name up to its first '.', made a C identifier: every character but an ASCII
# letter, digit or '_' becomes '_', and a leading digit gets a '_' in front
# (rtc-wake.ep gives rtc_wake.h holding rtc_wake[], 2nd.ep gives _2nd). NAME sets
# it for a single source. A name that is no C identifier, a C keyword or a
# mnemonic is refused at configure time, with the source. SCOPE is that of the
# include directory: by default INTERFACE for an INTERFACE library (a header
# library that other targets link) and PRIVATE otherwise. OUTPUT_VARIABLE
# receives the headers' paths. Editing a source regenerates its header; a faulty
# source fails the build with messages that name the source's own path and
# line, as a compiler's do. DEFINES ends each header with <NAME>_ORIGIN,
# <NAME>_CODE_SIZE, <NAME>_SIZE and each label's <NAME>_LABEL_<label>; LISTING
# writes <name>.lst beside it and DECLARATIONS <name>_decl.h, which declares the
# array with those macros for every other C file (the target's properties
# ZOLVEK_LISTINGS and ZOLVEK_DECLARATIONS list their paths); LINE_DIRECTIVES makes
# the C compiler's messages name the source's lines, and FATAL_WARNINGS fails the
# build on any warning.
function(zolvek_add_header target)
  cmake_parse_arguments(PARSE_ARGV 1 arg
                        "DEFINES;LISTING;DECLARATIONS;LINE_DIRECTIVES;FATAL_WARNINGS"
                        "NAME;SCOPE;OUTPUT_VARIABLE" "")
  # Names the header could not compile with, refused as Zolvek refuses them for -n:
  # the keywords of C99, C11 and C23, and the mnemonics, which the instruction
  # macros replace.
  set(c_keywords
    alignas alignof auto bool break case char const constexpr continue default do double else enum
    extern false float for goto if inline int long nullptr register restrict return short signed
    sizeof static static_assert struct switch thread_local true typedef typeof typeof_unqual union
    unsigned void volatile while _Alignas _Alignof _Atomic _BitInt _Bool _Complex _Decimal128
    _Decimal32 _Decimal64 _Generic _Imaginary _Noreturn _Static_assert _Thread_local)
  set(mnemonics
    LDADDR RDREG8I RDREG8 RDREG16 RDREG32 WRREG8 WRREG16 WRREG32 WAITEVENT NIBBLEMULT BYTEMULT
    ADDREGS ADDA BCDCONV SHIFTRIGHTA END LDAREG8 LDAREG16 LDAREG32 LDBREG8 LDBREG16 LDBREG32
    VALWR8D VALWR16D VALWR32D REGRD8D REGRD16D REGRD32D REGWR8D REGWR16D REGWR32D REGRD8BI
    REGRD16BI REGRD32BI REGWR8BI REGWR16BI REGWR32BI)
  set(options "")
  if(arg_DEFINES)
    list(APPEND options --defines)
  endif()
  if(arg_LINE_DIRECTIVES)
    list(APPEND options --line-directives)
  endif()
  if(arg_FATAL_WARNINGS)
    list(APPEND options --fatal-warnings)
  endif()
  set(sources ${arg_UNPARSED_ARGUMENTS})
  if(NOT TARGET ${target})
    message(FATAL_ERROR "zolvek_add_header: '${target}' is not a target")
  endif()
  # The conversions are custom commands, which only a target of their own
  # directory runs.
  get_target_property(target_dir ${target} SOURCE_DIR)
  if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    message(FATAL_ERROR "zolvek_add_header(${target}): call it in ${target_dir}, "
                        "the directory that creates the target")
  endif()
  if(NOT sources)
    message(FATAL_ERROR "zolvek_add_header(${target}): no .ep source given")
  endif()
  list(LENGTH sources count)
  # Names are compared as strings: a name such as "no" or "off" is false to if().
  set(has_name OFF)
  if(NOT "${arg_NAME}" STREQUAL "")
    set(has_name ON)
  endif()
  if(has_name AND count GREATER 1)
    message(FATAL_ERROR "zolvek_add_header(${target}): NAME names the array of one source only")
  endif()
  get_target_property(type ${target} TYPE)
  if(NOT arg_SCOPE)
    set(arg_SCOPE PRIVATE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      set(arg_SCOPE INTERFACE)
    endif()
  endif()
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(out_dir "${binary_dir}/zolvek_${target}")
  file(MAKE_DIRECTORY "${out_dir}")

  get_target_property(known ${target} ZOLVEK_ARRAY_NAMES)
  get_target_property(known_sources ${target} ZOLVEK_SOURCES)
  if(known STREQUAL "known-NOTFOUND")
    set(known "")
    set(known_sources "")
  endif()
  set(headers "")
  foreach(source IN LISTS sources)
    get_filename_component(source_path "${source}" ABSOLUTE)
    get_filename_component(file_name "${source_path}" NAME)
    string(REGEX REPLACE "[.].*$" "" name "${file_name}")
    string(MAKE_C_IDENTIFIER "${name}" name)
    if(has_name)
      set(name "${arg_NAME}")
    endif()
    if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "zolvek_add_header(${target}): '${name}' from '${source}' is no C "
                          "identifier to name an array; give one with NAME")
    endif()
    if(name IN_LIST c_keywords OR name IN_LIST mnemonics)
      set(reason "a C keyword")
      if(name IN_LIST mnemonics)
        set(reason "an instruction name, which the instruction macros would replace")
      endif()
      message(FATAL_ERROR "zolvek_add_header(${target}): '${name}' from '${source}' is ${reason}, "
                          "which cannot name an array; give another with NAME")
    endif()
    # Names that differ in case alone name one file where names ignore case; a
    # declarations file <name>_decl.h must not be another source's header either.
    set(files "${name}")
    if(arg_DECLARATIONS)
      list(APPEND files "${name}_decl")
    endif()
    string(TOLOWER "${known}" known_folded)
    foreach(file IN LISTS files)
      string(TOLOWER "${file}" folded)
      list(FIND known_folded "${folded}" other)
      if(NOT other EQUAL -1)
        list(GET known_sources ${other} other_source)
        message(FATAL_ERROR "zolvek_add_header(${target}): '${source}' and '${other_source}' "
                            "would both write ${file}.h (or one that differs in case alone); "
                            "give one of them another NAME")
      endif()
      list(APPEND known "${file}")
      list(APPEND known_sources "${source}")
    endforeach()

    set(header "${out_dir}/${name}.h")
    set(listing "")
    set(declarations "")
    set(file_options "")
    if(arg_LISTING)
      set(listing "${out_dir}/${name}.lst")
      list(APPEND file_options --listing "${listing}")
      set_property(TARGET ${target} APPEND PROPERTY ZOLVEK_LISTINGS "${listing}")
    endif()
    if(arg_DECLARATIONS)
      set(declarations "${out_dir}/${name}_decl.h")
      list(APPEND file_options --declarations "${declarations}")
      set_property(TARGET ${target} APPEND PROPERTY ZOLVEK_DECLARATIONS "${declarations}")
    endif()
    add_custom_command(
      OUTPUT "${header}" ${listing} ${declarations}
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${out_dir}"
      COMMAND Zolvek::Zolvek -q --diagnostics=gnu ${options} ${file_options} -o "${header}"
              -n "${name}" "${source_path}"
      DEPENDS "${source_path}" Zolvek::Zolvek "$<TARGET_FILE:Zolvek::Zolvek>"
      COMMENT "Converting ${source} into ${name}.h"
      VERBATIM)
    list(APPEND headers "${header}")
  endforeach()
  set_target_properties(${target} PROPERTIES ZOLVEK_ARRAY_NAMES "${known}"
                                             ZOLVEK_SOURCES "${known_sources}")
  # A Zolvek built for the build machine within a cross build comes first.
  get_property(host_build GLOBAL PROPERTY ZOLVEK_HOST_BUILD)
  if(host_build)
    add_dependencies(${target} ${host_build})
  endif()
  target_sources(${target} PRIVATE ${headers})
  target_include_directories(${target} ${arg_SCOPE} "$<BUILD_INTERFACE:${out_dir}>")
  if(NOT "${arg_OUTPUT_VARIABLE}" STREQUAL "")
    set(${arg_OUTPUT_VARIABLE} "${headers}" PARENT_SCOPE)
  endif()
endfunction()
