# Script run by ctest: install, configure and build the consumer against the
# installed package, then run it and check what it prints.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/install)

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Step failed (${result}): ${ARGN}\n${output}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
if(NOT EXISTS ${prefix}/include/kelpwright/game/kw_game_application.h)
  message(FATAL_ERROR "The public headers were not installed")
endif()

set(configure_args -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR}
  -DKelpwright_DIR=${prefix}/lib/cmake/Kelpwright -DCMAKE_BUILD_TYPE=Release)
# The consumer is compiled like the library (sanitizers included).
if(CXX_FLAGS)
  list(APPEND configure_args "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
endif()
if(LINKER_FLAGS)
  list(APPEND configure_args "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
endif()
if(TOOLCHAIN)
  list(APPEND configure_args -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
run_step(${CMAKE_COMMAND} ${configure_args})
run_step(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

file(GLOB consumer ${WORK_DIR}/build/kw_package_consumer ${WORK_DIR}/build/kw_package_consumer.exe)
if(RUNNER)
  run_step(${RUNNER} ${consumer})
else()
  run_step(${consumer})
endif()
if(NOT step_output MATCHES "consumer: 1 step, state 7 current")
  message(FATAL_ERROR "Unexpected consumer output:\n${step_output}")
endif()
message(STATUS "The installed package builds and runs a consumer")
