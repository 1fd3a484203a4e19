# Compiles files listed in a resource manifest into the modules, and names each entry for the code
# in a generated header. Pure CMake, so every tree (the mingw cross tree too) runs it without a
# helper program of ours.
#
# Manifest lines: <id> <Name> <frames> <file relative to the source root>; '#' starts a comment.
#
# Configure time, after include():
#   brel_read_resource_manifest(<manifest> <prefix>)
#     sets <prefix>_IDS, <prefix>_NAMES, <prefix>_FRAMES and <prefix>_FILES (lists in manifest
#     order); the place to start for any other output made from the same manifest.
#   brel_resource_header(<target> MANIFEST <manifest> HEADER <include path of the header>)
#     writes the header with one named constant per entry and puts it on <target>'s public
#     include path.
#   brel_embed_resources(<target> MANIFEST <manifest>)
#     adds the files to <target> as byte arrays, with a table for the lookup by resource id.
#   brel_resource_script(<target> MANIFEST <manifest>)
#     adds a resource script to <target> that compiles each file into the module as a resource
#     of type "PNG" named by its integer id (Windows trees, with the RC language enabled).
#
# Build time, `cmake -DINPUT=<file> -DOUTPUT=<.cpp> -DID=<id> -DFILE_NAME=<name> -P` this file:
#   writes one file as the C++ definition of its EmbeddedResource record.

function(brel_read_resource_manifest manifest prefix)
  file(STRINGS ${manifest} lines)
  set(ids "")
  set(names "")
  set(frames "")
  set(files "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(REGEX MATCHALL "[^ \t\r]+" fields "${line}")
    list(LENGTH fields count)
    if(count EQUAL 0)
      continue()
    endif()
    list(GET fields 0 id)
    if(NOT count EQUAL 4 OR NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${manifest}: expected \"id Name frames file\", got \"${line}\"")
    endif()
    if(id IN_LIST ids)
      message(FATAL_ERROR "${manifest}: resource id ${id} is listed twice")
    endif()
    list(GET fields 1 name)
    list(GET fields 2 frame_count)
    list(GET fields 3 path)
    list(APPEND ids ${id})
    list(APPEND names ${name})
    list(APPEND frames ${frame_count})
    list(APPEND files ${path})
  endforeach()
  set(${prefix}_IDS "${ids}" PARENT_SCOPE)
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
  set(${prefix}_FRAMES "${frames}" PARENT_SCOPE)
  set(${prefix}_FILES "${files}" PARENT_SCOPE)
endfunction()

function(brel_resource_header target)
  cmake_parse_arguments(E "" "MANIFEST;HEADER" "" ${ARGN})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${E_MANIFEST})
  brel_read_resource_manifest(${E_MANIFEST} manifest)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
  file(RELATIVE_PATH manifest_name ${PROJECT_SOURCE_DIR} ${E_MANIFEST})
  set(constants "")
  set(list_entries "")
  foreach(id name frames file IN ZIP_LISTS manifest_IDS manifest_NAMES manifest_FRAMES manifest_FILES)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${file})
      message(FATAL_ERROR "${E_MANIFEST}: ${file} does not exist")
    endif()
    string(APPEND constants "inline constexpr ImageResource k${name}Image{${id}, \"${file}\", ${frames}};\n")
    string(APPEND list_entries "    k${name}Image,\n")
  endforeach()
  file(GENERATE OUTPUT ${generated}/${E_HEADER} CONTENT
"#pragma once
// The editor's images by name: resource id, file name and frame count.
// Generated from ${manifest_name} by cmake/EmbedResources.cmake.

#include \"resources/EmbeddedResource.h\"

${constants}
inline constexpr ImageResource kImageResources[] = {
${list_entries}};
")
  target_include_directories(${target} PUBLIC ${generated})
endfunction()

function(brel_embed_resources target)
  cmake_parse_arguments(E "" "MANIFEST" "" ${ARGN})
  brel_read_resource_manifest(${E_MANIFEST} manifest)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
  file(RELATIVE_PATH manifest_name ${PROJECT_SOURCE_DIR} ${E_MANIFEST})
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
  set(declarations "")
  set(table_entries "")
  set(sources "")
  foreach(id file IN ZIP_LISTS manifest_IDS manifest_FILES)
    set(input ${PROJECT_SOURCE_DIR}/${file})
    string(APPEND declarations "extern const EmbeddedResource kEmbedded${id};\n")
    string(APPEND table_entries "    &kEmbedded${id},\n")
    set(output ${generated}/embedded_${id}.cpp)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DID=${id} -DFILE_NAME=${file} -P ${script}
      DEPENDS ${input} ${script}
      COMMENT "Embedding ${file}"
      VERBATIM)
    list(APPEND sources ${output})
  endforeach()
  list(LENGTH manifest_IDS count)
  file(GENERATE OUTPUT ${generated}/embedded_table.cpp CONTENT
"// Generated from ${manifest_name} by cmake/EmbedResources.cmake.
#include \"resources/EmbeddedTable.h\"

${declarations}
const EmbeddedResource* const kEmbeddedResources[] = {
${table_entries}    nullptr,
};
const int kEmbeddedResourceCount = ${count};
")
  target_sources(${target} PRIVATE ${sources} ${generated}/embedded_table.cpp)
endfunction()

# The script names each file by its absolute path; the files are its dependencies, since the
# resource compiler reports none.
function(brel_resource_script target)
  cmake_parse_arguments(E "" "MANIFEST" "" ${ARGN})
  brel_read_resource_manifest(${E_MANIFEST} manifest)
  file(RELATIVE_PATH manifest_name ${PROJECT_SOURCE_DIR} ${E_MANIFEST})
  set(entries "")
  set(inputs "")
  foreach(id file IN ZIP_LISTS manifest_IDS manifest_FILES)
    string(APPEND entries "${id} PNG \"${PROJECT_SOURCE_DIR}/${file}\"\n")
    list(APPEND inputs ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/generated/images.rc)
  file(GENERATE OUTPUT ${output} CONTENT
"// Generated from ${manifest_name} by cmake/EmbedResources.cmake: each image as a resource of
// type \"PNG\" named by its id.
${entries}")
  set_source_files_properties(${output} PROPERTIES OBJECT_DEPENDS "${inputs}")
  target_sources(${target} PRIVATE ${output})
endfunction()

# One file as a string literal of \x escapes, 64 bytes a line: compilers read such a literal far
# faster than a brace list of numbers. The array keeps the literal's terminating zero, which
# the recorded size leaves out.
function(brel_write_embedded_file input output id file_name)
  file(READ ${input} hex HEX)
  string(REPEAT "[0-9a-f]" 128 line_of_hex)
  string(REGEX REPLACE "(${line_of_hex})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" hex "${hex}")
  string(REGEX REPLACE "\n$" "" hex "${hex}")
  string(REPLACE "\n" "\"\n    \"" hex "${hex}")
  file(WRITE ${output}.tmp
"// Generated from ${file_name} by cmake/EmbedResources.cmake.
#include \"resources/EmbeddedResource.h\"

extern const EmbeddedResource kEmbedded${id};

namespace {
const unsigned char kBytes[] =
    \"${hex}\";
}  // namespace

const EmbeddedResource kEmbedded${id}{${id}, \"${file_name}\", kBytes, sizeof(kBytes) - 1};
")
  file(RENAME ${output}.tmp ${output})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  brel_write_embedded_file(${INPUT} ${OUTPUT} ${ID} ${FILE_NAME})
endif()
