# Configures (once) and builds the Windows converters in BINARY_DIR with the
# MinGW-w64 toolchain: what `make windows` does, for the Wine tests' fixture.
#   cmake -DSOURCE_DIR=... -DBINARY_DIR=... [-DGENERATOR=Ninja] -P build_windows.cmake
if(NOT EXISTS "${BINARY_DIR}/CMakeCache.txt")
  set(generator_args "")
  if(GENERATOR)
    set(generator_args -G "${GENERATOR}")
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${BINARY_DIR}" ${generator_args}
            -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
            -DCMAKE_BUILD_TYPE=Release -DBUILD_FRONTEND=OFF -DBUILD_TESTS=OFF
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the Windows build failed (${status})")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BINARY_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building the Windows converters failed (${status})")
endif()
foreach(program irgen irexpo)
  if(NOT EXISTS "${BINARY_DIR}/bin/${program}.exe")
    message(FATAL_ERROR "missing: ${BINARY_DIR}/bin/${program}.exe")
  endif()
endforeach()
