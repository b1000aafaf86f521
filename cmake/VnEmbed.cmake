# vn_embed_file(SOURCE INPUT FUNCTION HEADER [DEPENDS...]): generates SOURCE,
# a C++ file whose FUNCTION (declared in HEADER) returns INPUT's bytes; form
# streams and resources made with the demo disc are built into the programs
# this way. Extra arguments are further dependencies (targets or files).
function(vn_embed_file source input function header)
  add_custom_command(
    OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${source}
            -DFUNCTION=${function} -DHEADER=${header} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake ${ARGN})
endfunction()
