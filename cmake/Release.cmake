# The release this tree builds: who makes it, what it is called, where to find its maker. The
# version is the project's own (the top-level project() call) and written nowhere else; the
# modules, their descriptors and resources, the packages and the command read all of this from
# the header generated here.
set(BREL_PRODUCT "Brelvane")
set(BREL_VENDOR "Orrindale")
set(BREL_URL "https://www.orrindale.com")
set(BREL_EMAIL "info@orrindale.com")
# The LV2 plug-ins' URI: under the maker's address, never to change (hosts store songs by it).
set(BREL_LV2_URI "${BREL_URL}/plugins/lv2/brelvane")
set(BREL_COPYRIGHT "Copyright (C) 2026 ${BREL_VENDOR}")
set(BREL_DESCRIPTION "Vocal processor: presence compression, tone shaping and limiting")
set(BREL_SUMMARY "vocal processor: drive, low cut, band limiters and air (VST2, VST3, CLAP, LV2)")

set(BREL_RELEASE_DIR ${CMAKE_BINARY_DIR}/generated/release)
configure_file(${CMAKE_CURRENT_LIST_DIR}/BrelvaneRelease.h.in ${BREL_RELEASE_DIR}/BrelvaneRelease.h @ONLY)
add_library(brel_release INTERFACE)
target_include_directories(brel_release INTERFACE ${BREL_RELEASE_DIR})

# brel_version_resource(TARGET <module> DESCRIPTION <text>)
# Gives a Windows module its VERSIONINFO: file and product version, company, product name and
# copyright, as Explorer and hosts show them.
function(brel_version_resource)
  cmake_parse_arguments(V "" "TARGET;DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  get_target_property(name ${V_TARGET} OUTPUT_NAME)
  get_target_property(suffix ${V_TARGET} SUFFIX)
  if(NOT suffix)
    set(suffix ${CMAKE_SHARED_MODULE_SUFFIX})
  endif()
  set(BREL_FILE_DESCRIPTION "${V_DESCRIPTION}")
  set(BREL_FILE_NAME "${name}${suffix}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/generated/${V_TARGET}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${script} @ONLY)
  target_sources(${V_TARGET} PRIVATE ${script})
endfunction()

# The same for the packaging scripts, as shell assignments.
configure_file(${CMAKE_CURRENT_LIST_DIR}/release.env.in ${BREL_RELEASE_DIR}/release.env @ONLY)
