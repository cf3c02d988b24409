# Installs the build into a fresh prefix and checks that every file lands where the desktop,
# man and the program itself look for it. Run by ctest with BUILD, PREFIX and EXPECTED set.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output
)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()
foreach(file IN LISTS EXPECTED)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "${file} was not installed")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
