# The default colour schemes: the program only reads scheme definitions, so the build (for build/bin) and
# `cmake --install` (for the installed bin/ folder) write the bundled set into the machine-wide settings of the
# programs' folder with `corvelinscope-register color-schemes`, which does nothing where schemes are defined.
function(corvelin_install_color_schemes)
  if(NOT TARGET corvelinscope-register)
    return()
  endif()
  add_custom_target(corvelin_color_schemes ALL
    COMMAND $<TARGET_FILE:corvelinscope-register> color-schemes
    DEPENDS corvelinscope-register
    COMMENT "Default colour schemes for the programs in ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    VERBATIM)
  set(script
    "execute_process(COMMAND \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:corvelinscope-register>\"\n"
    "  color-schemes COMMAND_ERROR_IS_FATAL ANY)\n")
  string(JOIN "" script ${script})
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/corvelin_color_schemes.cmake CONTENT "${script}")
  install(SCRIPT ${CMAKE_BINARY_DIR}/corvelin_color_schemes.cmake)
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL corvelin_install_color_schemes)
