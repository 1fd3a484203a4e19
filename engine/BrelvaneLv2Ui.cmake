# The LV2 bundle's editor: BrelvaneUI.so, an X11 UI exporting lv2ui_descriptor only. The plug-in
# class is built once more here on the UI adapter, as the model its editor shows; its editor is
# the X11 window host, so this binary (unlike the plug-in's) links X11.
set(lv2_ui_dir ${PROJECT_SOURCE_DIR}/adapters/lv2/ui)

add_library(brel_lv2ui STATIC ${lv2_ui_dir}/IPlugLV2UI.cpp)
# brel_lv2 brings the LV2 headers and the port layout the plug-in's binary uses.
target_link_libraries(brel_lv2ui PUBLIC brel_lv2 brel_core brel_flags)

add_library(BrelvaneLV2UI MODULE ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp ${lv2_ui_dir}/Lv2UiEntry.cpp)
target_include_directories(BrelvaneLV2UI PRIVATE ${lv2_ui_dir}/module)
target_link_libraries(BrelvaneLV2UI PRIVATE brel_lv2ui brel_engine brel_editor brel_core brel_release brel_flags)
set_target_properties(BrelvaneLV2UI PROPERTIES
  OUTPUT_NAME BrelvaneUI
  PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${BREL_LV2_BUNDLE})
brel_module_exports(BrelvaneLV2UI ${lv2_ui_dir}/module/exports.map)
