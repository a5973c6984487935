# Builds the Debian package of a build tree and runs the programs from it:
#   cmake -DCPACK=<cpack> -DBUILD_DIR=<build> -DWORK=<scratch folder> -DMAKE_LIBRARY=<corvelinscope-make-library>
#         -P CheckDebianPackage.cmake
# The package's dependencies must name the Qt, netCDF and mzML runtime libraries; extracted into a temporary
# root (with the postinst's copy of the settings done there), corvelinscope-batch prints its usage and shows a
# generated library entry through the packaged reader modules.
cmake_minimum_required(VERSION 3.25)
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}/pkg)
file(GLOB deb ${WORK}/pkg/*.deb)
list(LENGTH deb count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .deb in ${WORK}/pkg, found: ${deb}")
endif()

run(dpkg-deb -I ${deb})
if(NOT out MATCHES "\n Depends: ([^\n]*)")
  message(FATAL_ERROR "the package has no Depends line:\n${out}")
endif()
set(depends "${CMAKE_MATCH_1}")
foreach(package libqt6widgets6 libqt6printsupport6 libnetcdf libpwizlite3 libc6)
  if(NOT depends MATCHES "(^|, )${package}[0-9a-z]*( |,|$)")
    message(FATAL_ERROR "the package does not depend on ${package}: Depends: ${depends}")
  endif()
endforeach()

set(root ${WORK}/root)
run(dpkg-deb -x ${deb} ${root})
foreach(file usr/bin/corvelinscope usr/bin/corvelinscope-batch usr/bin/config.ini
        usr/share/corvelinscope/register-readers usr/share/corvelinscope/manual/index.html
        usr/share/man/man1/corvelinscope.1 usr/share/man/man1/corvelinscope-batch.1
        usr/share/applications/corvelinscope.desktop usr/share/mime/packages/corvelinscope.xml
        usr/share/icons/hicolor/scalable/apps/corvelinscope.svg)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "the package lacks /${file}")
  endif()
endforeach()
file(READ ${root}/usr/bin/config.ini config)
if(NOT config MATCHES "Path=/var/lib/corvelinscope/settings.ini")
  message(FATAL_ERROR "/usr/bin/config.ini does not name the shared settings file:\n${config}")
endif()

# What the postinst does, in the temporary root: the shared settings file gets the bundled readers.
file(MAKE_DIRECTORY ${WORK}/var-lib)
file(WRITE ${root}/usr/bin/config.ini "[Configuration]\r\nPath=${WORK}/var-lib/settings.ini\r\n")
set(ENV{CORVELIN_REGISTRY_DIR} ${WORK}/registry)
unset(ENV{LD_LIBRARY_PATH})
run(${root}/usr/share/corvelinscope/register-readers ${root}/usr/bin)
run(${root}/usr/bin/corvelinscope-register check)

run(${root}/usr/bin/corvelinscope-batch --help)
if(NOT out MATCHES "usage: corvelinscope-batch")
  message(FATAL_ERROR "no usage from the packaged corvelinscope-batch:\n${out}")
endif()
run(${root}/usr/bin/corvelinscope --help)

run(${MAKE_LIBRARY} ${WORK}/library --entries 1 --peaks 7)
file(GLOB_RECURSE entries ${WORK}/library/*.ChromLibEntry)
list(GET entries 0 entry)
run(${root}/usr/bin/corvelinscope-batch /Display=${entry})
# The generated entry has 7 peaks; each is listed with its RT and RI.
string(REGEX MATCHALL "Peak +[0-9]+: RT [0-9.]+, RI [0-9.]+" peaks "${out}")
list(LENGTH peaks peak_count)
if(NOT out MATCHES "Number of Peaks: +7," OR NOT peak_count EQUAL 7)
  message(FATAL_ERROR "/Display= of ${entry} through the packaged readers does not show its 7 peaks:\n${out}")
endif()
message(STATUS "${deb}: Depends: ${depends}; /Display= listed ${peak_count} peaks")
file(REMOVE_RECURSE ${WORK})
