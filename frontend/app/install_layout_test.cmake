# Installs the build into a scratch DESTDIR and checks what the installed
# sonabrix relies on: the program, its manual and the marker of an installed
# copy in <prefix>/SONABRIX_DIR, a link to it in <prefix>/BIN_DIR, and each
# converter and the viewer in <prefix>/BIN_DIR with a link beside sonabrix,
# where the program looks first.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DBIN_DIR=bin -DSONABRIX_DIR=lib/sonabrix
#         -DCONVERTERS="irgen;irexpo" -DVIEWER=irview -P install_layout_test.cmake
set(prefix /opt/sonabrix-layout)
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${SCRATCH}
          ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix ${prefix}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed (${status}):\n${output}")
endif()

set(failures "")
# `path`, an install destination relative to the prefix or absolute, must be
# a file, possibly reached through links that stay inside the installed tree.
function(expect_file path)
  if(IS_ABSOLUTE "${path}")
    set(file "${SCRATCH}${path}")
  else()
    set(file "${SCRATCH}${prefix}/${path}")
  endif()
  if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
    set(failures "${failures}\n  missing: ${path}" PARENT_SCOPE)
    return()
  endif()
  file(REAL_PATH "${file}" real)
  string(FIND "${real}" "${SCRATCH}/" at)
  if(NOT at EQUAL 0)
    set(failures "${failures}\n  ${path} leads out of the install: ${real}" PARENT_SCOPE)
  endif()
endfunction()

expect_file(${SONABRIX_DIR}/sonabrix)
expect_file(${SONABRIX_DIR}/Manual/MSonabrix.mht)
expect_file(${SONABRIX_DIR}/sonabrix.installed)
expect_file(${BIN_DIR}/sonabrix)
foreach(converter IN LISTS CONVERTERS VIEWER)
  expect_file(${BIN_DIR}/${converter})
  expect_file(${SONABRIX_DIR}/${converter})
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
if(failures)
  message(FATAL_ERROR "install layout under ${prefix}:${failures}")
endif()
