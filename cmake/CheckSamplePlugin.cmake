# Test script: installs the build tree into a scratch prefix, builds examples/sample-plugin against the installed
# package (find_package(Corvelin), Corvelin::engine) as a lab would, registers it with the installed tools and
# converts the sample peak list through it with the installed corvelinscope-batch.
#   cmake -DBUILD_DIR=<build> -DSOURCE_DIR=<source> -DWORK=<scratch> -DBINDIR=<bin> -DGENERATOR=<generator>
#         -DCXX=<compiler> -P CheckSamplePlugin.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
set(include_dir ${prefix}/include/corvelinscope)
foreach(header engine/core/LibraryChromatogram.h engine/plugins/PluginInterface.h engine/core/EngineExport.h)
  if(NOT EXISTS ${include_dir}/${header})
    message(FATAL_ERROR "the install has no include/corvelinscope/${header}")
  endif()
endforeach()
# Only the plug-in author's folders are installed, and every engine header they include is installed too.
file(GLOB folders RELATIVE ${include_dir}/engine ${include_dir}/engine/*)
list(SORT folders)
if(NOT folders STREQUAL "core;options;peaks;platform;plugins")
  message(FATAL_ERROR "the install has engine header folders ${folders}, not core;options;peaks;platform;plugins")
endif()
file(GLOB_RECURSE installed ${include_dir}/*.h)
foreach(header ${installed})
  file(STRINGS ${header} includes REGEX "^#include \"engine/")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${include_dir}/${included})
      message(FATAL_ERROR "${header} includes ${included}, which is not installed")
    endif()
  endforeach()
endforeach()

# The plug-in project knows nothing of the source tree: only the installed prefix.
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/sample-plugin -B ${WORK}/plugin-build -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK}/plugin-build)
set(module ${WORK}/plugin-build/sample-peaklist-reader.so)
if(NOT EXISTS ${module})
  message(FATAL_ERROR "the sample plug-in was not built: ${module}")
endif()

set(bin ${prefix}/${BINDIR})
run(${bin}/corvelinscope-register add SamplePeakList --name "Sample Peak List" --path ${module}
    --extension .peaklist --filter "Sample Peak Lists (*.peaklist)|*.peaklist")
run(${bin}/corvelinscope-register check)
if(NOT out MATCHES "Sample Peak List: loaded")
  message(FATAL_ERROR "the installed program does not load the sample plug-in:\n${out}")
endif()

# The sample file holds three peaks of the sample "Alkane test mix". Convert it into a library entry, then search a
# library of that one entry with the sample file itself as the unknown: both reads go through the plug-in, and the
# hit must be that sample with all three peaks matched both ways.
file(COPY ${SOURCE_DIR}/examples/sample-plugin/sample.peaklist DESTINATION ${WORK}/data)
run(${bin}/corvelinscope-batch /Convert=${WORK}/data/sample.peaklist)
if(NOT out MATCHES "was converted successfully" OR NOT EXISTS ${WORK}/data/sample.peaklist.ChromLibEntry)
  message(FATAL_ERROR "the sample file was not converted into a library entry:\n${out}")
endif()
file(COPY ${WORK}/data/sample.peaklist.ChromLibEntry DESTINATION ${WORK}/data/library)
run(${bin}/corvelinscope-batch /Search=${WORK}/data/sample.peaklist /Library=${WORK}/data/library)
if(NOT out MATCHES "sample\\.peaklist\\.ChromLibEntry +Alkane test mix +1\\.000 +1\\.000 +3/ 3 +3/ 3")
  message(FATAL_ERROR "the search did not find the sample's three peaks:\n${out}")
endif()
# The raw-data sample hands its scans over through the scan-run export: the TIC file lists every scan of the
# sample and the three peaks the program's detector finds in it.
set(scanModule ${WORK}/plugin-build/sample-scanlist-reader.so)
run(${bin}/corvelinscope-register add SampleScanList --name "Sample Scan List" --path ${scanModule}
    --extension .scanlist --filter "Sample Scan Lists (*.scanlist)|*.scanlist")
file(COPY ${SOURCE_DIR}/examples/sample-plugin/sample.scanlist DESTINATION ${WORK}/data)
run(${bin}/corvelinscope-batch /Display=${WORK}/data/sample.scanlist /TIC=${WORK}/data/sample-tic.csv)
file(STRINGS ${WORK}/data/sample-tic.csv rows)
set(scanRows ${rows})
list(FILTER scanRows INCLUDE REGEX "^\"[0-9.]+\",\"[0-9]+\",")
list(LENGTH scanRows count)
set(peakRows ${rows})
list(FILTER peakRows INCLUDE REGEX "^\"[0-9]+\",\"[0-9.]+\",\"[0-9.]+\",\"[0-9.]+\",\"[0-9]+\",")
list(LENGTH peakRows peaks)
if(NOT count EQUAL 901 OR NOT peaks EQUAL 3)
  message(FATAL_ERROR "the scan-list sample's TIC file has ${count} scan rows and ${peaks} peak rows:\n${rows}")
endif()
file(REMOVE_RECURSE ${WORK})
