# The pieces of the vendored VST 3 SDK that the VST3 module, the VST3 host library and the
# validator use, built with this tree's compiler but none of our warning flags: the SDK keeps the
# layout and the idioms of its authors, and its headers come in as system headers.
#
#   vst3_base       the base library (FObject, FUID, strings, streams, update handling, locks)
#                   and the plug-in interfaces' own sources
#   vst3_sdk        the plug-in side: single-component effect, parameters, buses, plug-in view
#                   and the plug-in factory
#   vst3_hosting    the host side: module loading, host classes, parameter changes, process
#                   data, memory streams, the plug-in provider
#   validator       the SDK's command-line conformance host

# The one place that names the SDK version; the vendored headers must agree with it.
set(BREL_VST3SDK_VERSION 3.7.14)
set(BREL_VST3SDK_DIR ${PROJECT_SOURCE_DIR}/third_party/vst3sdk)

file(STRINGS ${BREL_VST3SDK_DIR}/pluginterfaces/vst/vsttypes.h brel_vst3sdk_version_line
     REGEX "#define kVstVersionString")
if(NOT brel_vst3sdk_version_line MATCHES "\"VST ${BREL_VST3SDK_VERSION}\"")
  message(FATAL_ERROR "third_party/vst3sdk is not the VST 3 SDK ${BREL_VST3SDK_VERSION}: ${brel_vst3sdk_version_line}")
endif()

set(sdk ${BREL_VST3SDK_DIR})
set(vst ${sdk}/public.sdk/source/vst)

# What every SDK target is compiled with: the shipping configuration of the SDK (its debug
# configuration adds leak reports and traces that belong to its authors' own development).
add_library(vst3_settings INTERFACE)
target_include_directories(vst3_settings SYSTEM INTERFACE ${sdk})
target_compile_definitions(vst3_settings INTERFACE RELEASE=1)
if(WIN32)
  # The SDK calls the wide-character Win32 functions through their generic names.
  target_compile_definitions(vst3_settings INTERFACE UNICODE _UNICODE)
endif()

add_library(vst3_base STATIC
  ${sdk}/base/source/baseiids.cpp
  ${sdk}/base/source/fbuffer.cpp
  ${sdk}/base/source/fdebug.cpp
  ${sdk}/base/source/fdynlib.cpp
  ${sdk}/base/source/fobject.cpp
  ${sdk}/base/source/fstreamer.cpp
  ${sdk}/base/source/fstring.cpp
  ${sdk}/base/source/timer.cpp
  ${sdk}/base/source/updatehandler.cpp
  ${sdk}/base/thread/source/fcondition.cpp
  ${sdk}/base/thread/source/flock.cpp
  ${sdk}/pluginterfaces/base/conststringtable.cpp
  ${sdk}/pluginterfaces/base/coreiids.cpp
  ${sdk}/pluginterfaces/base/funknown.cpp
  ${sdk}/pluginterfaces/base/ustring.cpp
  ${sdk}/public.sdk/source/common/commoniids.cpp
  ${sdk}/public.sdk/source/common/commonstringconvert.cpp
  ${vst}/utility/stringconvert.cpp
  ${vst}/vstinitiids.cpp
)
target_link_libraries(vst3_base PUBLIC vst3_settings)
# The SDK's own warnings (a compiler's defaults included) are its authors' business; files of
# the SDK compiled into our targets get the same with brel_vst3sdk_sources().
target_compile_options(vst3_base PRIVATE -w)
function(brel_vst3sdk_sources)
  set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS -w)
endfunction()
if(WIN32)
  target_link_libraries(vst3_base PUBLIC ole32)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(vst3_base PUBLIC Threads::Threads ${CMAKE_DL_LIBS})
endif()

# vsteditcontroller.cpp is compiled inside vstsinglecomponenteffect.cpp, which gives the
# controller's state calls their single-component names there.
add_library(vst3_sdk STATIC
  ${sdk}/public.sdk/source/main/pluginfactory.cpp
  ${sdk}/public.sdk/source/common/pluginview.cpp
  ${vst}/vstbus.cpp
  ${vst}/vstcomponentbase.cpp
  ${vst}/vstparameters.cpp
  ${vst}/vstsinglecomponenteffect.cpp
)
target_link_libraries(vst3_sdk PUBLIC vst3_base)
target_compile_options(vst3_sdk PRIVATE -w)

if(WIN32)
  set(vst3_module_loader module_win32.cpp)
  set(vst3_thread_checker threadchecker_win32.cpp)
else()
  set(vst3_module_loader module_linux.cpp)
  set(vst3_thread_checker threadchecker_linux.cpp)
endif()
add_library(vst3_hosting STATIC
  ${sdk}/public.sdk/source/common/memorystream.cpp
  ${sdk}/public.sdk/source/common/readfile.cpp
  ${vst}/hosting/connectionproxy.cpp
  ${vst}/hosting/eventlist.cpp
  ${vst}/hosting/hostclasses.cpp
  ${vst}/hosting/module.cpp
  ${vst}/hosting/${vst3_module_loader}
  ${vst}/hosting/parameterchanges.cpp
  ${vst}/hosting/pluginterfacesupport.cpp
  ${vst}/hosting/plugprovider.cpp
  ${vst}/hosting/processdata.cpp
  ${vst}/moduleinfo/moduleinfoparser.cpp
  ${vst}/vstpresetfile.cpp
)
target_link_libraries(vst3_hosting PUBLIC vst3_base)
target_compile_options(vst3_hosting PRIVATE -w)

set(validator_dir ${sdk}/public.sdk/samples/vst-hosting/validator/source)
set(testsuite ${vst}/testsuite)
add_executable(validator
  ${validator_dir}/main.cpp
  ${validator_dir}/usediids.cpp
  ${validator_dir}/validator.cpp
  ${sdk}/public.sdk/source/main/moduleinit.cpp
  ${vst}/hosting/test/connectionproxytest.cpp
  ${vst}/hosting/test/eventlisttest.cpp
  ${vst}/hosting/test/hostclassestest.cpp
  ${vst}/hosting/test/parameterchangestest.cpp
  ${vst}/hosting/test/pluginterfacesupporttest.cpp
  ${vst}/hosting/test/processdatatest.cpp
  ${testsuite}/bus/busactivation.cpp
  ${testsuite}/bus/busconsistency.cpp
  ${testsuite}/bus/businvalidindex.cpp
  ${testsuite}/bus/checkaudiobusarrangement.cpp
  ${testsuite}/bus/scanbusses.cpp
  ${testsuite}/bus/sidechainarrangement.cpp
  ${testsuite}/general/editorclasses.cpp
  ${testsuite}/general/midilearn.cpp
  ${testsuite}/general/midimapping.cpp
  ${testsuite}/general/plugcompat.cpp
  ${testsuite}/general/scanparameters.cpp
  ${testsuite}/general/suspendresume.cpp
  ${testsuite}/general/terminit.cpp
  ${testsuite}/noteexpression/keyswitch.cpp
  ${testsuite}/noteexpression/noteexpression.cpp
  ${testsuite}/processing/automation.cpp
  ${testsuite}/processing/process.cpp
  ${testsuite}/processing/processcontextrequirements.cpp
  ${testsuite}/processing/processformat.cpp
  ${testsuite}/processing/processinputoverwriting.cpp
  ${testsuite}/processing/processtail.cpp
  ${testsuite}/processing/processthreaded.cpp
  ${testsuite}/processing/silenceflags.cpp
  ${testsuite}/processing/silenceprocessing.cpp
  ${testsuite}/processing/speakerarrangement.cpp
  ${testsuite}/processing/variableblocksize.cpp
  ${testsuite}/state/bypasspersistence.cpp
  ${testsuite}/state/invalidstatetransition.cpp
  ${testsuite}/state/repeatidenticalstatetransition.cpp
  ${testsuite}/state/validstatetransition.cpp
  ${testsuite}/testbase.cpp
  ${testsuite}/unit/checkunitstructure.cpp
  ${testsuite}/unit/scanprograms.cpp
  ${testsuite}/unit/scanunits.cpp
  ${testsuite}/vsttestsuite.cpp
  ${vst}/utility/testing.cpp
  ${sdk}/public.sdk/source/common/${vst3_thread_checker}
)
target_link_libraries(validator PRIVATE vst3_hosting)
target_compile_options(validator PRIVATE -w)
if(WIN32)
  # The validator's entry point is wmain.
  target_link_options(validator PRIVATE -municode)
endif()
