# The DLL's resources: dialog template 5008 generated from its one C++
# declaration by tools/rcgen (built with the host compiler), the version and
# the isolation manifest. Defines QORCOLOR_RC, the compiled resource object.
find_program(QORCOLOR_HOST_CXX NAMES g++ c++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_program(QORCOLOR_WINDRES NAMES ${CMAKE_RC_COMPILER} x86_64-w64-mingw32-windres windres REQUIRED)

set(_res_dir ${CMAKE_CURRENT_BINARY_DIR}/res)
set(_rcgen ${_res_dir}/rcgen)
set(_dialog_rc ${_res_dir}/dialog_5008.rc)
set(QORCOLOR_RC ${_res_dir}/qorcolor_rc.o)

add_custom_command(
  OUTPUT ${_rcgen}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_res_dir}
  COMMAND ${QORCOLOR_HOST_CXX} -std=c++20 -O0 -Wall -Wextra -Wpedantic -Werror
          -I${CMAKE_SOURCE_DIR}/src -I${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/tools/rcgen.cpp
          ${CMAKE_SOURCE_DIR}/src/res/dialog_template.cpp
          ${CMAKE_SOURCE_DIR}/src/framework/dialog_template.cpp -o ${_rcgen}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/rcgen.cpp ${CMAKE_SOURCE_DIR}/src/res/dialog_template.cpp
          ${CMAKE_SOURCE_DIR}/src/res/dialog_template.h ${CMAKE_SOURCE_DIR}/src/res/resource.h
          ${CMAKE_SOURCE_DIR}/include/qorcolor/controls.h
          ${CMAKE_SOURCE_DIR}/src/framework/dialog_template.cpp ${CMAKE_SOURCE_DIR}/src/framework/dialog_template.h
          ${CMAKE_SOURCE_DIR}/src/framework/portable/win32_subset.h
  COMMENT "Building the host resource generator"
  VERBATIM)

add_custom_command(
  OUTPUT ${_dialog_rc}
  COMMAND ${_rcgen} 5008 > ${_dialog_rc}
  DEPENDS ${_rcgen}
  COMMENT "Generating the resource script of dialog 5008")

add_custom_command(
  OUTPUT ${QORCOLOR_RC}
  COMMAND ${QORCOLOR_WINDRES} --input-format=rc --output-format=coff
          -I${_res_dir} -I${CMAKE_SOURCE_DIR}/src/res
          -DQORCOLOR_VERSION_COMMA=${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}
          -DQORCOLOR_VERSION_DOTTED=${PROJECT_VERSION}
          -i ${CMAKE_SOURCE_DIR}/src/res/qorcolor.rc -o ${QORCOLOR_RC}
  DEPENDS ${CMAKE_SOURCE_DIR}/src/res/qorcolor.rc ${CMAKE_SOURCE_DIR}/src/res/qorcolor.manifest ${_dialog_rc}
  COMMENT "Compiling the DLL's resources"
  VERBATIM)

set_source_files_properties(${QORCOLOR_RC} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
