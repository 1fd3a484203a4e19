# LV2 (Linux only): the bundle Brelvane.lv2, holding the plug-in binary Brelvane.so (both
# plug-ins, stereo and mono; exporting lv2_descriptor only), its Turtle (written at build time
# from a built instance by lv2_turtle) and the editor's binary BrelvaneUI.so.
if(WIN32)
  return()
endif()
set(BREL_LV2_BUNDLE ${CMAKE_BINARY_DIR}/modules/lv2/Brelvane.lv2 CACHE INTERNAL "The LV2 bundle this tree builds")
set(lv2_dir ${PROJECT_SOURCE_DIR}/adapters/lv2)

# The plug-in class on the LV2 adapter, once for the module and the Turtle writer. Its editor
# opens no window (the UI binary's does), so it needs no X11.
add_library(brel_lv2_plugin STATIC ${CMAKE_CURRENT_SOURCE_DIR}/Brelvane.cpp)
target_include_directories(brel_lv2_plugin PUBLIC ${lv2_dir}/module)
target_link_libraries(brel_lv2_plugin PUBLIC brel_lv2 brel_engine brel_editor_core brel_core brel_flags)

add_library(BrelvaneLV2 MODULE ${lv2_dir}/Lv2Entry.cpp)
target_link_libraries(BrelvaneLV2 PRIVATE brel_lv2_plugin)
set_target_properties(BrelvaneLV2 PROPERTIES
  OUTPUT_NAME Brelvane
  PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${BREL_LV2_BUNDLE})
brel_module_exports(BrelvaneLV2 ${lv2_dir}/module/exports.map)

add_library(brel_lv2_turtle STATIC ${lv2_dir}/turtle/Lv2Turtle.cpp)
target_link_libraries(brel_lv2_turtle PUBLIC brel_core brel_release brel_flags)
add_executable(lv2_turtle ${lv2_dir}/turtle/Lv2TurtleMain.cpp)
target_link_libraries(lv2_turtle PRIVATE brel_lv2_turtle brel_lv2_plugin)

set(lv2_turtle_files ${BREL_LV2_BUNDLE}/manifest.ttl ${BREL_LV2_BUNDLE}/Brelvane.ttl)
add_custom_command(OUTPUT ${lv2_turtle_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BREL_LV2_BUNDLE}
  COMMAND lv2_turtle ${BREL_LV2_BUNDLE}
  DEPENDS lv2_turtle
  COMMENT "Describing Brelvane.lv2 in its Turtle"
  VERBATIM)
add_custom_target(BrelvaneLV2Bundle ALL DEPENDS ${lv2_turtle_files} BrelvaneLV2)

# The editor's binary belongs to the bundle as much as the Turtle does.
include(${CMAKE_CURRENT_LIST_DIR}/BrelvaneLv2Ui.cmake OPTIONAL)
if(TARGET BrelvaneLV2UI)
  add_dependencies(BrelvaneLV2Bundle BrelvaneLV2UI)
endif()
