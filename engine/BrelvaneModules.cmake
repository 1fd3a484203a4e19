# The plug-in modules: the one Brelvane source compiled once per module, against that module's
# adapter (each module's folder puts its PluginAdapter.h on the include path).

# VST2: Brelvane.so on Linux, Brelvane.dll on Windows, exporting VSTPluginMain and main only.
add_library(BrelvaneVST2 MODULE
  ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp
  ${PROJECT_SOURCE_DIR}/adapters/vst2/VstEntry.cpp
)
target_include_directories(BrelvaneVST2 PRIVATE ${PROJECT_SOURCE_DIR}/adapters/vst2/module)
target_link_libraries(BrelvaneVST2 PRIVATE brel_vst2 brel_engine brel_core brel_flags)
set_target_properties(BrelvaneVST2 PROPERTIES
  OUTPUT_NAME Brelvane
  PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/modules/vst2)
if(WIN32)
  target_sources(BrelvaneVST2 PRIVATE ${PROJECT_SOURCE_DIR}/adapters/vst2/win/VstDllMain.cpp)
else()
  set(exports_map ${PROJECT_SOURCE_DIR}/adapters/vst2/module/exports.map)
  target_link_options(BrelvaneVST2 PRIVATE -Wl,--version-script=${exports_map})
  if(NOT BREL_SANITIZE AND NOT BREL_TSAN)
    target_link_options(BrelvaneVST2 PRIVATE -Wl,--no-undefined)
  endif()
  set_target_properties(BrelvaneVST2 PROPERTIES LINK_DEPENDS ${exports_map})
endif()
