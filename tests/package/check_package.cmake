# Run by ctest: install into a scratch prefix, then build against the installed package alone,
# compiled like the library, the menu sample and the guide's game as its own project (the folder a
# guide reader writes); any missing header, library or flag fails the build.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/install COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
  -DKelpwright_DIR=${WORK_DIR}/install/lib/cmake/Kelpwright "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" -DSAMPLE=${SAMPLE}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${TUTORIAL_SOURCE} -B ${WORK_DIR}/tutorial -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
  -DKelpwright_DIR=${WORK_DIR}/install/lib/cmake/Kelpwright "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}"
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/tutorial COMMAND_ERROR_IS_FATAL ANY)
