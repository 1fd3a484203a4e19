# The vendored CLAP headers (third_party/clap, headers only) for the CLAP adapter, its module and
# the CLAP host library. The CLAP version a plug-in reports is the headers' own CLAP_VERSION.
set(BREL_CLAP_DIR ${PROJECT_SOURCE_DIR}/third_party/clap)
add_library(clap_headers INTERFACE)
target_include_directories(clap_headers SYSTEM INTERFACE ${BREL_CLAP_DIR}/include)
