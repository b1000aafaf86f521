# cmake -DFILES="a;b;..." -DMODULE=module -P CheckFfmpegOnlyInModule.cmake
# Fails when any of FILES (the programs and the media engine's probe) loads
# FFmpeg's libraries at start, directly or through another library, or when
# the engine's FFmpeg module does not, which would mean the check can no longer
# see them. FFmpeg is loaded with the module, when a file first needs it.
function(loaded_libraries file out)
  execute_process(COMMAND ldd ${file} OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "ldd ${file} failed: ${errors}")
  endif()
  set(${out} "${listing}" PARENT_SCOPE)
endfunction()

set(ffmpeg_pattern "lib(avcodec|avformat|swresample|swscale|avutil)\\.so")

loaded_libraries(${MODULE} sample)
if(NOT sample MATCHES "${ffmpeg_pattern}")
  message(FATAL_ERROR "the check cannot see FFmpeg in ${MODULE}:\n${sample}")
endif()

set(offenders "")
foreach(file ${FILES})
  loaded_libraries(${file} listing)
  if(listing MATCHES "${ffmpeg_pattern}")
    get_filename_component(name ${file} NAME)
    list(APPEND offenders ${name})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "loads FFmpeg at start: ${offenders}")
endif()
list(LENGTH FILES checked)
message(STATUS "${checked} programs and probes, none loads FFmpeg at start")
