# Compiles files listed in a resource manifest into the modules, and names each entry for the code
# in a generated header. Pure CMake, so every tree (the mingw cross tree too) runs it without a
# helper program of ours.
#
# Manifest lines: <id> <Name> <frames> <file relative to the source root>; '#' starts a comment.
# Every file has a twin drawn at twice the resolution, 2x/<same name> in its folder, compiled in
# at its id plus BREL_HI_RES_ID_OFFSET (kHiResImageIdOffset in resources/EmbeddedResource.h); the
# manifest lists only the first.
#
# Configure time, after include():
#   brel_read_resource_manifest(<manifest> <prefix>)
#     sets <prefix>_IDS, <prefix>_NAMES, <prefix>_FRAMES and <prefix>_FILES (lists in manifest
#     order), and <prefix>_HI_RES_IDS and <prefix>_HI_RES_FILES for the twins; the place to start
#     for any other output made from the same manifest.
#   brel_resource_header(<target> MANIFEST <manifest> HEADER <include path of the header>)
#     writes the header with one named constant per entry and puts it on <target>'s public
#     include path.
#   brel_embed_resources(<target> MANIFEST <manifest>)
#     adds the files and their twins to <target> as byte arrays, with a table for the lookup by
#     resource id.
#   brel_resource_script(<target> MANIFEST <manifest>)
#     adds a resource script to <target> that compiles each file and its twin into the module as
#     resources of type "PNG" named by their integer ids (Windows trees, with the RC language
#     enabled).
#
# Build time, `cmake -DINPUT=<file> -DOUTPUT=<.cpp> -DID=<id> -DFILE_NAME=<name> -P` this file:
#   writes one file as the C++ definition of its EmbeddedResource record.

set(BREL_HI_RES_ID_OFFSET 1000)

# Windows names a resource by a 16-bit integer, so a twin's id must stay below 65536 and must
# not be another image's.
function(brel_check_hi_res_ids manifest ids hi_res_ids)
  foreach(id hi_res_id IN ZIP_LISTS ids hi_res_ids)
    if(hi_res_id GREATER 65535)
      message(FATAL_ERROR "${manifest}: id ${id} leaves its 2x twin (${hi_res_id}) past 65535")
    endif()
    if(hi_res_id IN_LIST ids)
      message(FATAL_ERROR "${manifest}: id ${hi_res_id} is both listed and the 2x twin of ${id}")
    endif()
  endforeach()
endfunction()

function(brel_read_resource_manifest manifest prefix)
  file(STRINGS ${manifest} lines)
  set(ids "")
  set(names "")
  set(frames "")
  set(files "")
  set(hi_res_ids "")
  set(hi_res_files "")
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
    math(EXPR hi_res_id "${id} + ${BREL_HI_RES_ID_OFFSET}")
    get_filename_component(folder ${path} DIRECTORY)
    get_filename_component(file_name ${path} NAME)
    list(APPEND hi_res_ids ${hi_res_id})
    list(APPEND hi_res_files ${folder}/2x/${file_name})
  endforeach()
  brel_check_hi_res_ids(${manifest} "${ids}" "${hi_res_ids}")
  set(${prefix}_IDS "${ids}" PARENT_SCOPE)
  set(${prefix}_NAMES "${names}" PARENT_SCOPE)
  set(${prefix}_FRAMES "${frames}" PARENT_SCOPE)
  set(${prefix}_FILES "${files}" PARENT_SCOPE)
  set(${prefix}_HI_RES_IDS "${hi_res_ids}" PARENT_SCOPE)
  set(${prefix}_HI_RES_FILES "${hi_res_files}" PARENT_SCOPE)
endfunction()

function(brel_resource_header target)
  cmake_parse_arguments(E "" "MANIFEST;HEADER" "" ${ARGN})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${E_MANIFEST})
  brel_read_resource_manifest(${E_MANIFEST} manifest)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
  file(RELATIVE_PATH manifest_name ${PROJECT_SOURCE_DIR} ${E_MANIFEST})
  set(constants "")
  set(list_entries "")
  foreach(id name frames file twin IN ZIP_LISTS manifest_IDS manifest_NAMES manifest_FRAMES manifest_FILES
          manifest_HI_RES_FILES)
    foreach(path IN ITEMS ${file} ${twin})
      if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${path})
        message(FATAL_ERROR "${E_MANIFEST}: ${path} does not exist (make artwork draws it)")
      endif()
    endforeach()
    string(APPEND constants
      "inline constexpr ImageResource k${name}Image{${id}, \"${file}\", ${frames}, \"${twin}\"};\n")
    string(APPEND list_entries "    k${name}Image,\n")
  endforeach()
  file(GENERATE OUTPUT ${generated}/${E_HEADER} CONTENT
"#pragma once
// The editor's images by name: resource id, file name and frame count.
// Generated from ${manifest_name} by cmake/EmbedResources.cmake.

#include \"resources/EmbeddedResource.h\"

static_assert(kHiResImageIdOffset == ${BREL_HI_RES_ID_OFFSET}, \"the twins are compiled in at this offset\");

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
  set(ids ${manifest_IDS} ${manifest_HI_RES_IDS})
  set(files ${manifest_FILES} ${manifest_HI_RES_FILES})
  foreach(id file IN ZIP_LISTS ids files)
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
  list(LENGTH ids count)
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
  set(ids ${manifest_IDS} ${manifest_HI_RES_IDS})
  set(files ${manifest_FILES} ${manifest_HI_RES_FILES})
  foreach(id file IN ZIP_LISTS ids files)
    string(APPEND entries "${id} PNG \"${PROJECT_SOURCE_DIR}/${file}\"\n")
    list(APPEND inputs ${PROJECT_SOURCE_DIR}/${file})
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/generated/images.rc)
  file(GENERATE OUTPUT ${output} CONTENT
"// Generated from ${manifest_name} by cmake/EmbedResources.cmake: each image and its 2x twin as
// resources of type \"PNG\" named by their ids.
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
