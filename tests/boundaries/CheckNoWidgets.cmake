# cmake -DFILES="a;b;..." -DWIDGETS_SAMPLE=gui-program -P CheckNoWidgets.cmake
# Fails when any of FILES loads Qt Widgets, directly or through another
# library (ldd lists the whole tree), or when the GUI sample does not, which
# would mean the check itself can no longer see it.
function(loaded_libraries file out)
  execute_process(COMMAND ldd ${file} OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${file} failed: ${errors}")
  endif()
  set(${out} "${listing}" PARENT_SCOPE)
endfunction()

set(widgets_pattern "libQt[0-9]*Widgets")

loaded_libraries(${WIDGETS_SAMPLE} sample)
if(NOT sample MATCHES "${widgets_pattern}")
  message(FATAL_ERROR "the check cannot see Qt Widgets in ${WIDGETS_SAMPLE}:\n${sample}")
endif()

set(offenders "")
foreach(file ${FILES})
  loaded_libraries(${file} listing)
  if(listing MATCHES "${widgets_pattern}")
    get_filename_component(name ${file} NAME)
    list(APPEND offenders ${name})
  endif()
endforeach()
list(LENGTH FILES checked)
if(offenders)
  message(FATAL_ERROR "display-free code loads Qt Widgets: ${offenders}")
endif()
message(STATUS "${checked} display-free programs and probes, none loads Qt Widgets")
