# zolvek_add_header(<target> <file.ep>...)
#
# Converts each Event Processor source into a header in the build tree and adds
# that directory to the target's include path: <target's binary dir>/zolvek_<target>
# gets <base>.h holding <base>[], where <base> is the source's file name up to its
# first '.' (prog.ep gives prog.h holding prog[]). Editing a source regenerates its
# header; a faulty source fails the build with messages that name the source's
# own path and line, as a compiler's do.
function(zolvek_add_header target)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "zolvek_add_header: '${target}' is not a target")
  endif()
  if(NOT ARGN)
    message(FATAL_ERROR "zolvek_add_header(${target}): no .ep source given")
  endif()
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(out_dir "${binary_dir}/zolvek_${target}")
  file(MAKE_DIRECTORY "${out_dir}")

  get_target_property(known ${target} ZOLVEK_BASE_NAMES)
  if(NOT known)
    set(known "")
  endif()
  set(headers "")
  foreach(source IN LISTS ARGN)
    get_filename_component(source_path "${source}" ABSOLUTE)
    get_filename_component(file_name "${source_path}" NAME)
    # The tool cuts the name at its first '.'.
    string(FIND "${file_name}" "." dot)
    if(dot EQUAL -1)
      set(base "${file_name}")
    else()
      string(SUBSTRING "${file_name}" 0 ${dot} base)
    endif()
    if(base IN_LIST known)
      message(FATAL_ERROR "zolvek_add_header(${target}): '${source}' would write ${base}.h, "
                          "which another source of this target already writes; "
                          "give the sources different base names")
    endif()
    list(APPEND known "${base}")

    set(header "${out_dir}/${base}.h")
    add_custom_command(
      OUTPUT "${header}"
      COMMAND Zolvek::Zolvek -q --diagnostics=gnu -o "${header}" -n "${base}" "${source_path}"
      DEPENDS "${source_path}" Zolvek::Zolvek
      COMMENT "Converting ${source} into ${base}.h"
      VERBATIM)
    list(APPEND headers "${header}")
  endforeach()
  set_property(TARGET ${target} PROPERTY ZOLVEK_BASE_NAMES "${known}")
  # A Zolvek built for the build machine within a cross build comes first.
  get_property(host_build GLOBAL PROPERTY ZOLVEK_HOST_BUILD)
  if(host_build)
    add_dependencies(${target} ${host_build})
  endif()
  target_sources(${target} PRIVATE ${headers})
  target_include_directories(${target} PRIVATE "${out_dir}")
endfunction()
