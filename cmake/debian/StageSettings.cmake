# CPack pre-build script: in the staged tree, moves the readers' registration (bin/settings.ini, written by the
# install) to share/corvelinscope/settings.ini and puts a config.ini beside the programs that names the shared,
# writable settings file the postinst creates from it.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${root}/bin/settings.ini")
  message(FATAL_ERROR "the staged tree has no ${root}/bin/settings.ini (the readers' registration)")
endif()
file(MAKE_DIRECTORY "${root}/share/corvelinscope")
file(RENAME "${root}/bin/settings.ini" "${root}/share/corvelinscope/settings.ini")
file(WRITE "${root}/bin/config.ini" "[Configuration]\r\nPath=/var/lib/corvelinscope/settings.ini\r\n")
