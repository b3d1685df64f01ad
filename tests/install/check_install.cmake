# Installs the build into a fresh prefix and checks the tree: the executable,
# the update check's network module, the desktop entry, the MIME package and
# the icon in every hicolor size.
# The desktop entry is validated when desktop-file-validate is installed.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed:\n${output}")
endif()

set(sizes 16 22 24 32 48 64 128 256)
set(expected bin/tolvemar ${LIBDIR}/tolvemar/libtolvemar_update.so
    share/applications/tolvemar.desktop share/mime/packages/tolvemar.xml)
foreach(size IN LISTS sizes)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tolvemar.png)
endforeach()
list(SORT expected)

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " got "${installed}")
  string(REPLACE ";" "\n  " want "${expected}")
  message(FATAL_ERROR "installed tree differs:\n got:\n  ${got}\n want:\n  ${want}")
endif()

if(NOT IS_DIRECTORY "${PREFIX}/bin" OR IS_SYMLINK "${PREFIX}/bin/tolvemar")
  message(FATAL_ERROR "bin/tolvemar is not a plain file")
endif()
execute_process(COMMAND test -x "${PREFIX}/bin/tolvemar" RESULT_VARIABLE notExecutable)
if(NOT notExecutable EQUAL 0)
  message(FATAL_ERROR "bin/tolvemar is not executable")
endif()

# Each icon is a PNG of its folder's size.
foreach(size IN LISTS sizes)
  set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/tolvemar.png")
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 magic)
  string(SUBSTRING "${header}" 32 8 widthHex)
  string(SUBSTRING "${header}" 40 8 heightHex)
  math(EXPR width "0x${widthHex}")
  math(EXPR height "0x${heightHex}")
  if(NOT magic STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png}: not a ${size}x${size} PNG (${magic}, ${width}x${height})")
  endif()
endforeach()

file(READ "${PREFIX}/share/applications/tolvemar.desktop" entry)
string(FIND "${entry}" "\nExec=tolvemar %f\n" execAt)
string(FIND "${entry}" "\nMimeType=application/x-tolvemar-save;\n" mimeAt)
if(execAt LESS 0 OR mimeAt LESS 0)
  message(FATAL_ERROR "desktop entry lacks its Exec or MimeType line")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/share/applications/tolvemar.desktop"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate:\n${output}")
  endif()
  message(STATUS "desktop-file-validate: passed")
else()
  message(STATUS "desktop-file-validate not installed: entry not validated")
endif()

find_program(XMLLINT xmllint)
if(XMLLINT)
  execute_process(COMMAND "${XMLLINT}" --noout "${PREFIX}/share/mime/packages/tolvemar.xml" RESULT_VARIABLE result
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "MIME package is not well-formed XML:\n${output}")
  endif()
endif()
message(STATUS "installed tree under ${PREFIX} is complete")
