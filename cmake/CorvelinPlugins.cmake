# Registration of the bundled reader modules.
#
#   corvelin_register_reader(<target> KEY <key> NAME <display name> [EXTENSION <.ext>] [FILTER <filter>])
#
# Call it once in a reader's CMakeLists.txt, after add_library(<target> MODULE ...). It adds the module to the
# machine-wide "Plugins" registration of the settings store:
#   - slot "Plugin<n>" = <key> (a key already registered keeps its slot; a new key takes the first free slot),
#   - section "Plugins\<key>": default value = <display name>, "Path", "Extension", "Filter".
# "Load This Plugin" and anything else a lab put into the section are left alone.
# Example:
#   add_library(corvelin-reader-andi MODULE AndiReader.cpp)
#   corvelin_register_reader(corvelin-reader-andi KEY ANDI NAME "ANDI/AIA netCDF" EXTENSION .cdf
#                            FILTER "ANDI netCDF Files (*.cdf)|*.cdf")
#
# The module is written to ${CORVELIN_PLUGIN_OUTPUT_DIR} and installed to ${CORVELIN_PLUGIN_SUBDIR}. Its "Path" is
# stored relative to the program folder (bin/ -> lib/corvelinscope/plugins/<file>); the build tree mirrors the
# installed tree, so the same text is right for both. The registration is written by the program
# corvelinscope-register into the settings store of the programs' folder: at every build for build/bin and at
# `cmake --install` for the installed bin/ folder (settings.ini there, or the file config.ini names).
# A module that leaves out EXTENSION/FILTER is still loaded (for example a spectra-only reader) but adds nothing
# to the chromatogram file dialogs. Give a spectra-only module a real EXTENSION (and an IsFileReadable export
# that refuses), because an empty Extension matches every chromatogram path.

function(corvelin_register_reader target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "KEY;NAME;EXTENSION;FILTER" "")
  if(NOT arg_KEY OR NOT arg_NAME)
    message(FATAL_ERROR "corvelin_register_reader(${target}): KEY and NAME are required")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "corvelin_register_reader(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  # A module may be registered under several keys (one per file ending it reads); it is built and installed once.
  get_target_property(installed ${target} CORVELIN_PLUGIN_INSTALLED)
  if(NOT installed)
    set_target_properties(${target} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${CORVELIN_PLUGIN_OUTPUT_DIR}
      INSTALL_RPATH "$ORIGIN/${CORVELIN_PLUGIN_RPATH_TO_LIB}"
      CORVELIN_PLUGIN_INSTALLED TRUE)
    install(TARGETS ${target} LIBRARY DESTINATION ${CORVELIN_PLUGIN_SUBDIR})
  endif()
  get_property(index GLOBAL PROPERTY CORVELIN_REGISTRATION_COUNT)
  if(NOT index)
    set(index 0)
  endif()
  foreach(field TARGET KEY NAME EXTENSION FILTER)
    if(field STREQUAL "TARGET")
      set(value "${target}")
    else()
      set(value "${arg_${field}}")
    endif()
    set_property(GLOBAL PROPERTY CORVELIN_REGISTRATION_${index}_${field} "${value}")
  endforeach()
  math(EXPR next "${index} + 1")
  set_property(GLOBAL PROPERTY CORVELIN_REGISTRATION_COUNT ${next})
  set_property(GLOBAL APPEND PROPERTY CORVELIN_REGISTERED_READERS ${target})
endfunction()

file(RELATIVE_PATH CORVELIN_PLUGIN_RPATH_TO_LIB /root/${CORVELIN_PLUGIN_SUBDIR} /root/${CMAKE_INSTALL_LIBDIR})
# "Path" of a registered module: relative to the program folder.
file(RELATIVE_PATH CORVELIN_PLUGIN_PATH_FROM_BIN /root/${CMAKE_INSTALL_BINDIR} /root/${CORVELIN_PLUGIN_SUBDIR})

# Runs at the end of the top-level directory, when every reader has registered and the register program exists.
function(corvelin_finish_reader_registration)
  get_property(readers GLOBAL PROPERTY CORVELIN_REGISTERED_READERS)
  if(NOT readers OR NOT TARGET corvelinscope-register)
    return()
  endif()
  set(build_commands)
  set(install_script "")
  list(REMOVE_DUPLICATES readers)
  get_property(registration_count GLOBAL PROPERTY CORVELIN_REGISTRATION_COUNT)
  math(EXPR last "${registration_count} - 1")
  foreach(index RANGE ${last})
    get_property(target GLOBAL PROPERTY CORVELIN_REGISTRATION_${index}_TARGET)
    get_property(KEY GLOBAL PROPERTY CORVELIN_REGISTRATION_${index}_KEY)
    set(args add "${KEY}")
    set(install_args "add [==[${KEY}]==]")
    set(path "${CORVELIN_PLUGIN_PATH_FROM_BIN}/$<TARGET_FILE_NAME:${target}>")
    foreach(field NAME PATH EXTENSION FILTER)
      if(field STREQUAL "PATH")
        set(value "${path}")
      else()
        get_property(value GLOBAL PROPERTY CORVELIN_REGISTRATION_${index}_${field})
      endif()
      if(NOT "${value}" STREQUAL "" AND NOT "${value}" MATCHES "-NOTFOUND$")
        string(TOLOWER ${field} option)
        string(REPLACE ";" "$<SEMICOLON>" value "${value}")
        list(APPEND args --${option} "${value}")
        string(APPEND install_args " --${option} [==[${value}]==]")
      endif()
    endforeach()
    list(APPEND build_commands COMMAND $<TARGET_FILE:corvelinscope-register> ${args})
    string(APPEND install_script
      "execute_process(COMMAND \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:corvelinscope-register>\"\n"
      "  ${install_args} COMMAND_ERROR_IS_FATAL ANY)\n")
  endforeach()
  add_custom_target(corvelin_reader_registration ALL ${build_commands}
    DEPENDS ${readers} corvelinscope-register
    COMMENT "Registering the bundled reader modules for the programs in ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    VERBATIM)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/corvelin_register_readers.cmake CONTENT "${install_script}")
  # Runs after the programs and modules are installed (install scripts run in the order they are declared,
  # and this is declared last).
  install(SCRIPT ${CMAKE_BINARY_DIR}/corvelin_register_readers.cmake)

  if(CORVELIN_TESTS)
    set(reader_count ${registration_count})
    add_test(NAME reader_registration_install
      COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DPREFIX=${CMAKE_BINARY_DIR}/test-install
              -DBINDIR=${CMAKE_INSTALL_BINDIR} -DREADER_COUNT=${reader_count}
              -P ${CMAKE_SOURCE_DIR}/cmake/CheckInstalledRegistration.cmake)
    if(CORVELIN_SANITIZE)
      set_tests_properties(reader_registration_install PROPERTIES LABELS sanitize)
    else()
      set_tests_properties(reader_registration_install PROPERTIES LABELS readers RESOURCE_LOCK build_install)
    endif()
  endif()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL corvelin_finish_reader_registration)
