# Run by ctest: install into a scratch prefix, build the consumer against the
# installed package (compiled like the library), run it and check its output.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/install COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
  -DKelpwright_DIR=${WORK_DIR}/install/lib/cmake/Kelpwright "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}"
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build COMMAND_ERROR_IS_FATAL ANY)
file(GLOB consumer ${WORK_DIR}/build/kw_package_consumer ${WORK_DIR}/build/kw_package_consumer.exe)
execute_process(COMMAND ${RUNNER} ${consumer} OUTPUT_VARIABLE output COMMAND_ERROR_IS_FATAL ANY)
if(NOT output MATCHES "consumer: a step of state 7")
  message(FATAL_ERROR "Unexpected consumer output:\n${output}")
endif()
