# libpng 1.6 for the Windows tree, compiled from Debian's source package (with Debian's patches),
# which scripts/install-deps unpacks; zlib is the static one of the mingw-w64 package.
set(BREL_LIBPNG_SRC /usr/local/src/libpng1.6 CACHE PATH "libpng 1.6 sources (Debian's libpng1.6 source package)")
if(NOT EXISTS ${BREL_LIBPNG_SRC}/png.h)
  message(FATAL_ERROR "libpng sources not found in ${BREL_LIBPNG_SRC}: run scripts/install-deps")
endif()

find_library(BREL_MINGW_ZLIB NAMES libz.a REQUIRED)
find_path(BREL_MINGW_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(brel_zlib_static STATIC IMPORTED GLOBAL)
set_target_properties(brel_zlib_static PROPERTIES IMPORTED_LOCATION ${BREL_MINGW_ZLIB}
                                                  INTERFACE_INCLUDE_DIRECTORIES ${BREL_MINGW_ZLIB_INCLUDE})

# The prebuilt configuration: every feature of the reference build, no assembler paths.
set(brel_png_config ${CMAKE_BINARY_DIR}/libpng-config)
configure_file(${BREL_LIBPNG_SRC}/scripts/pnglibconf.h.prebuilt ${brel_png_config}/pnglibconf.h COPYONLY)

set(brel_png_sources png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c pngrutil.c
                     pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
list(TRANSFORM brel_png_sources PREPEND ${BREL_LIBPNG_SRC}/)
add_library(brel_png_static STATIC ${brel_png_sources})
target_include_directories(brel_png_static SYSTEM PUBLIC ${BREL_LIBPNG_SRC} ${brel_png_config})
target_link_libraries(brel_png_static PUBLIC brel_zlib_static)
# Their code, their warnings.
target_compile_options(brel_png_static PRIVATE -w)
