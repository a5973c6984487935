# Test script: installs the build tree into a scratch prefix and checks that the installed programs find the
# bundled readers through the registration the install wrote, and that a second install keeps a lab's own entry.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch prefix> -DBINDIR=<bin> -DREADER_COUNT=<n> -P CheckInstalledRegistration.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
set(tool ${PREFIX}/${BINDIR}/corvelinscope-register)
if(NOT EXISTS ${PREFIX}/${BINDIR}/settings.ini)
  message(FATAL_ERROR "the install wrote no ${PREFIX}/${BINDIR}/settings.ini")
endif()

# Every bundled module loads from the installed tree.
run(${tool} check)
string(REGEX MATCHALL ": loaded \\(${PREFIX}/" loaded "${out}")
list(LENGTH loaded count)
if(NOT count EQUAL READER_COUNT)
  message(FATAL_ERROR "expected ${READER_COUNT} readers loaded from ${PREFIX}, got ${count}:\n${out}")
endif()

# A lab's own registration survives a second install.
run(${tool} add LabReader --name "Lab Reader" --path /opt/lab/reader.so --extension .lab)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
run(${tool} list)
if(NOT out MATCHES "LabReader: \"Lab Reader\" Path=/opt/lab/reader.so")
  message(FATAL_ERROR "the lab's registration was lost by the second install:\n${out}")
endif()
file(REMOVE_RECURSE ${PREFIX})
