# cmake -DFILES="a;b;..." -DPATTERN=regex -DSAMPLE=file -DWHAT=text -P CheckNotLoaded.cmake
# Fails when any of FILES loads a library whose name matches PATTERN, directly
# or through another library (ldd lists the whole tree), or when SAMPLE does
# not, which would mean the check itself can no longer see it. WHAT names the
# libraries in the messages.
function(loaded_libraries file out)
  execute_process(COMMAND ldd ${file} OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${file} failed: ${errors}")
  endif()
  set(${out} "${listing}" PARENT_SCOPE)
endfunction()

loaded_libraries(${SAMPLE} sample)
if(NOT sample MATCHES "${PATTERN}")
  message(FATAL_ERROR "the check cannot see ${WHAT} in ${SAMPLE}:\n${sample}")
endif()

set(offenders "")
foreach(file ${FILES})
  loaded_libraries(${file} listing)
  if(listing MATCHES "${PATTERN}")
    get_filename_component(name ${file} NAME)
    list(APPEND offenders ${name})
  endif()
endforeach()
list(LENGTH FILES checked)
if(offenders)
  message(FATAL_ERROR "loads ${WHAT} at start: ${offenders}")
endif()
message(STATUS "${checked} programs and probes, none loads ${WHAT} at start")
