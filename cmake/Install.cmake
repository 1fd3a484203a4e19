# What `cmake --install` puts where, from the Linux tree: the command, the four modules in the
# folders Linux hosts scan, the manual page and the documents. Each folder is a variable read when
# the install runs, so one set of rules serves a system install (under the prefix, the defaults
# below), a user's own install (scripts/install sets them to ~/.vst3, ~/.vst, ~/.clap, ~/.lv2,
# ~/.local/...) and the Debian package.
set(BREL_DOC_FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright)

install(CODE [[
  foreach(pair "BIN;bin" "VST3;lib/vst3" "VST2;lib/vst" "CLAP;lib/clap" "LV2;lib/lv2" "MAN;share/man/man1" "DOC;share/doc/brelvane")
    list(GET pair 0 kind)
    list(GET pair 1 default)
    if(NOT DEFINED BREL_${kind}_DIR)
      set(BREL_${kind}_DIR ${default})
    endif()
  endforeach()
]])
install(TARGETS brelvane RUNTIME DESTINATION "\${BREL_BIN_DIR}")
install(DIRECTORY ${BREL_VST3_BUNDLE} DESTINATION "\${BREL_VST3_DIR}" USE_SOURCE_PERMISSIONS)
install(FILES $<TARGET_FILE:BrelvaneVST2> DESTINATION "\${BREL_VST2_DIR}")
install(FILES $<TARGET_FILE:BrelvaneCLAP> DESTINATION "\${BREL_CLAP_DIR}")
install(DIRECTORY ${BREL_LV2_BUNDLE} DESTINATION "\${BREL_LV2_DIR}" USE_SOURCE_PERMISSIONS)
install(FILES ${BREL_MAN_PAGE} DESTINATION "\${BREL_MAN_DIR}")
install(FILES ${BREL_DOC_FILES} DESTINATION "\${BREL_DOC_DIR}")
