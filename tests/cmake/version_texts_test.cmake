# The version guard of cmake/version_texts.cmake: the texts of versions it
# accepts, and a plain refusal (not a CMake error half-way) of each kind of
# version the texts cannot carry.
#
#   cmake -DMODULE=<source>/cmake/version_texts.cmake -P version_texts_test.cmake
cmake_minimum_required(VERSION 3.25)
include(${MODULE})

# One version in a process of its own, since a refusal ends the process.
if(DEFINED ONE_VERSION)
  tolvemar_version_texts(${ONE_VERSION} shown number)
  message("texts: ${shown} ${number}")
  return()
endif()

set(failures "")
function(expect version outcome)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMODULE=${MODULE} -DONE_VERSION=${version}
                          -P ${CMAKE_CURRENT_LIST_FILE}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(got "${out}${err}")
  if(outcome STREQUAL "refused")
    if(result EQUAL 0 OR NOT got MATCHES "Version ${version} cannot be used: ")
      set(failures "${failures}\n${version} should be refused, got: ${got}" PARENT_SCOPE)
    endif()
  elseif(NOT result EQUAL 0 OR NOT got MATCHES "texts: ${outcome}\n")
    set(failures "${failures}\n${version} should give '${outcome}', got: ${got}" PARENT_SCOPE)
  endif()
endfunction()

expect(2.21.3 "2.21c 2.213")
expect(2.21.9 "2.21i 2.219")
expect(0.00.1 "0.00a 0.001")
expect(837.99.8 "837.99h 837.998")
expect(2.21.0 refused)     # no letter for 0
expect(2.21.10 refused)    # 2.2110 reads as older than 2.219
expect(2.21.27 refused)    # no letter
expect(2.21.03 refused)    # 2.2103: a fourth decimal
expect(2.5.3 refused)      # 2.53 reads as newer than 2.213
expect(2.210.3 refused)    # 2.2103 reads as older than 2.219
expect(02.21.3 refused)
expect(838.00.1 refused)   # beyond the single-precision reading
expect(2.21 refused)
expect(2.21.3.1 refused)
expect(2.13.1 refused)     # the check reads 2.131 as newer than itself
expect(0.04.3 refused)     # and 0.043

if(failures)
  message(FATAL_ERROR "Version guard:${failures}")
endif()
