# Installs the built library into a staging prefix, then configures, builds
# and runs the consumer project against it, by CMake package and by pkg-config.
#   cmake -DBUILD=<build dir> -DSOURCE=<this folder> -P run.cmake
set(stage ${BUILD}/stage)
set(work ${BUILD}/consumer)
file(REMOVE_RECURSE ${stage} ${work})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage})
run(${CMAKE_COMMAND} -S ${SOURCE} -B ${work} -DCMAKE_PREFIX_PATH=${stage} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${work})
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${stage}/lib ${work}/consumer)
# The same program through pkg-config, as a Makefile project links it.
set(ENV{PKG_CONFIG_PATH} ${stage}/lib/pkgconfig)
execute_process(COMMAND pkg-config --cflags --libs qorcolor OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know qorcolor")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ -std=c++17 ${SOURCE}/consumer.cpp ${flags} -o ${work}/consumer-pc)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${stage}/lib ${work}/consumer-pc)
