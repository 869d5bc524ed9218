# The DLL's exports from their one declaration, src/module/exports.list:
#   qorcolor.def       the exported names: for the import libraries, shipped to hosts
#   qorcolor-link.def  each name with the code it reaches: for linking the DLL
#   qorcolor.lib       the MSVC-style import library (llvm-dlltool)
# The MinGW import library, libqorcolor.dll.a, comes from the DLL's own link.
set(_list ${CMAKE_SOURCE_DIR}/src/module/exports.list)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_list})
file(STRINGS ${_list} _lines REGEX "^[^#]")
set(_def "LIBRARY qorcolor.dll\nEXPORTS\n")
set(_link_def "${_def}")
foreach(_line IN LISTS _lines)
  string(REGEX MATCHALL "[^ \t]+" _fields "${_line}")
  list(GET _fields 0 _name)
  string(APPEND _def "    ${_name}\n")
  list(LENGTH _fields _count)
  if(_count GREATER 1)
    list(GET _fields 1 _code)
    string(APPEND _link_def "    ${_name}=${_code}\n")
  else()
    string(APPEND _link_def "    ${_name}\n")
  endif()
endforeach()
set(QORCOLOR_DEF ${CMAKE_BINARY_DIR}/qorcolor.def)
set(QORCOLOR_LINK_DEF ${CMAKE_BINARY_DIR}/qorcolor-link.def)
set(QORCOLOR_MSVC_LIB ${CMAKE_BINARY_DIR}/qorcolor.lib)
file(WRITE ${QORCOLOR_DEF} "${_def}")
file(WRITE ${QORCOLOR_LINK_DEF} "${_link_def}")

find_program(QORCOLOR_DLLTOOL NAMES llvm-dlltool llvm-dlltool-16 llvm-dlltool-15 llvm-dlltool-14 REQUIRED
             NO_CMAKE_FIND_ROOT_PATH)
add_custom_command(
  OUTPUT ${QORCOLOR_MSVC_LIB}
  COMMAND ${QORCOLOR_DLLTOOL} -m i386:x86-64 -d ${QORCOLOR_DEF} -D qorcolor.dll -l ${QORCOLOR_MSVC_LIB}
  DEPENDS ${QORCOLOR_DEF}
  COMMENT "Writing the MSVC import library qorcolor.lib"
  VERBATIM)
add_custom_target(qorcolor_msvc_lib ALL DEPENDS ${QORCOLOR_MSVC_LIB})
