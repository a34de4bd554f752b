# Run by ctest: install into a scratch prefix, build the consumer against the
# installed package (compiled like the library), run it and check its output.
file(REMOVE_RECURSE ${WORK_DIR})
function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Step failed (${result}): ${ARGN}\n${output}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/install)
run_step(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
  -DKelpwright_DIR=${WORK_DIR}/install/lib/cmake/Kelpwright "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}"
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}")
run_step(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
file(GLOB consumer ${WORK_DIR}/build/kw_package_consumer ${WORK_DIR}/build/kw_package_consumer.exe)
run_step(${RUNNER} ${consumer})
if(NOT step_output MATCHES "consumer: 1 step, state 7 current")
  message(FATAL_ERROR "Unexpected consumer output:\n${step_output}")
endif()
