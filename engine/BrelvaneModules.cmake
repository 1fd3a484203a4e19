# The plug-in modules: the one Brelvane source compiled once per module, against that module's
# adapter (each module's folder puts its PluginAdapter.h on the include path).

# A Linux module exports only what its version script names, and (outside the sanitizer trees,
# whose runtimes the host brings) leaves no symbol to be found in the host.
function(brel_module_exports target map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  if(NOT BREL_SANITIZE AND NOT BREL_TSAN)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${map})
endfunction()

# VST2: Brelvane.so on Linux, Brelvane.dll on Windows, exporting VSTPluginMain and main only.
add_library(BrelvaneVST2 MODULE
  ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp
  ${PROJECT_SOURCE_DIR}/adapters/vst2/VstEntry.cpp
)
target_include_directories(BrelvaneVST2 PRIVATE ${PROJECT_SOURCE_DIR}/adapters/vst2/module)
target_link_libraries(BrelvaneVST2 PRIVATE brel_vst2 brel_engine brel_editor brel_core brel_flags)
set_target_properties(BrelvaneVST2 PROPERTIES
  OUTPUT_NAME Brelvane
  PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/modules/vst2)
if(WIN32)
  target_sources(BrelvaneVST2 PRIVATE ${PROJECT_SOURCE_DIR}/adapters/vst2/win/VstDllMain.cpp)
else()
  brel_module_exports(BrelvaneVST2 ${PROJECT_SOURCE_DIR}/adapters/vst2/module/exports.map)
endif()

brel_version_resource(TARGET BrelvaneVST2 DESCRIPTION "${BREL_PRODUCT} VST2 plug-in")

# VST3: the bundle Brelvane.vst3, holding Contents/x86_64-linux/Brelvane.so or
# Contents/x86_64-win/Brelvane.vst3 (a DLL), built on the SDK's factory and module entries.
set(BREL_VST3_BUNDLE ${CMAKE_BINARY_DIR}/modules/vst3/Brelvane.vst3 CACHE INTERNAL "The VST3 bundle this tree builds")
set(vst3_main ${BREL_VST3SDK_DIR}/public.sdk/source/main)
add_library(BrelvaneVST3 MODULE
  ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp
  ${PROJECT_SOURCE_DIR}/adapters/vst3/Vst3Factory.cpp
  ${PROJECT_SOURCE_DIR}/adapters/vst3/${BREL_PLATFORM}/Vst3ModuleInit.cpp
)
target_include_directories(BrelvaneVST3 PRIVATE ${PROJECT_SOURCE_DIR}/adapters/vst3/module)
target_link_libraries(BrelvaneVST3 PRIVATE brel_vst3 brel_engine brel_editor brel_core brel_flags)
set_target_properties(BrelvaneVST3 PROPERTIES OUTPUT_NAME Brelvane PREFIX "")
if(WIN32)
  # The SDK's DLL entry records the instance handle and exports InitDll and ExitDll.
  target_sources(BrelvaneVST3 PRIVATE ${vst3_main}/dllmain.cpp)
  brel_vst3sdk_sources(${vst3_main}/dllmain.cpp)
  set_source_files_properties(${vst3_main}/dllmain.cpp PROPERTIES COMPILE_DEFINITIONS "UNICODE;_UNICODE")
  set_target_properties(BrelvaneVST3 PROPERTIES SUFFIX .vst3
    LIBRARY_OUTPUT_DIRECTORY ${BREL_VST3_BUNDLE}/Contents/x86_64-win)
else()
  # The SDK's Linux entry exports ModuleEntry and ModuleExit.
  target_sources(BrelvaneVST3 PRIVATE ${vst3_main}/linuxmain.cpp)
  brel_vst3sdk_sources(${vst3_main}/linuxmain.cpp)
  brel_module_exports(BrelvaneVST3 ${PROJECT_SOURCE_DIR}/adapters/vst3/module/exports.map)
  set_target_properties(BrelvaneVST3 PROPERTIES SUFFIX .so
    LIBRARY_OUTPUT_DIRECTORY ${BREL_VST3_BUNDLE}/Contents/x86_64-linux)
endif()

brel_version_resource(TARGET BrelvaneVST3 DESCRIPTION "${BREL_PRODUCT} VST3 plug-in")

# The bundle's moduleinfo.json, written from what the built module's factory answers (under Wine
# in the Windows tree).
set(vst3_moduleinfo_json ${BREL_VST3_BUNDLE}/Contents/Resources/moduleinfo.json)
file(RELATIVE_PATH vst3_bundle_relative ${CMAKE_BINARY_DIR} ${BREL_VST3_BUNDLE})
add_custom_command(OUTPUT ${vst3_moduleinfo_json}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BREL_VST3_BUNDLE}/Contents/Resources
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:vst3_moduleinfo> ${vst3_bundle_relative}
          ${vst3_bundle_relative}/Contents/Resources/moduleinfo.json
  DEPENDS BrelvaneVST3 vst3_moduleinfo
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Describing Brelvane.vst3 in its moduleinfo.json"
  VERBATIM)
add_custom_target(BrelvaneVST3Bundle ALL DEPENDS ${vst3_moduleinfo_json})

# CLAP: Brelvane.clap (a shared object on Linux, a DLL on Windows), exporting clap_entry only.
set(BREL_CLAP_MODULE ${CMAKE_BINARY_DIR}/modules/clap/Brelvane.clap CACHE INTERNAL "The CLAP module this tree builds")
add_library(BrelvaneCLAP MODULE
  ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp
  ${PROJECT_SOURCE_DIR}/adapters/clap/ClapFactory.cpp
)
target_include_directories(BrelvaneCLAP PRIVATE ${PROJECT_SOURCE_DIR}/adapters/clap/module)
target_link_libraries(BrelvaneCLAP PRIVATE brel_clap brel_engine brel_editor brel_core brel_flags)
set_target_properties(BrelvaneCLAP PROPERTIES
  OUTPUT_NAME Brelvane
  PREFIX ""
  SUFFIX .clap
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/modules/clap)
if(WIN32)
  target_sources(BrelvaneCLAP PRIVATE ${PROJECT_SOURCE_DIR}/adapters/clap/win/ClapDllMain.cpp)
else()
  brel_module_exports(BrelvaneCLAP ${PROJECT_SOURCE_DIR}/adapters/clap/module/exports.map)
endif()

brel_version_resource(TARGET BrelvaneCLAP DESCRIPTION "${BREL_PRODUCT} CLAP plug-in")
include(BrelvaneLv2.cmake)
