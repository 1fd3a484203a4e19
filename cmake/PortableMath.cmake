# The elementary functions of the audio path beside our own tanh (third_party/musl-math: musl's
# exp, log and pow), built from the same C source into every module on every platform.
set(BREL_MUSL_MATH_DIR ${PROJECT_SOURCE_DIR}/third_party/musl-math)
add_library(brel_portable_math STATIC
  ${BREL_MUSL_MATH_DIR}/src/exp.c
  ${BREL_MUSL_MATH_DIR}/src/exp_data.c
  ${BREL_MUSL_MATH_DIR}/src/log.c
  ${BREL_MUSL_MATH_DIR}/src/log_data.c
  ${BREL_MUSL_MATH_DIR}/src/pow.c
  ${BREL_MUSL_MATH_DIR}/src/pow_data.c
  ${BREL_MUSL_MATH_DIR}/src/__math_xflow.c
  ${BREL_MUSL_MATH_DIR}/src/__math_oflow.c
  ${BREL_MUSL_MATH_DIR}/src/__math_uflow.c
  ${BREL_MUSL_MATH_DIR}/src/__math_divzero.c
  ${BREL_MUSL_MATH_DIR}/src/__math_invalid.c)
set_target_properties(brel_portable_math PROPERTIES C_STANDARD 99 C_EXTENSIONS ON)
# The shim stands in for musl's internal headers; the sources stay as musl ships them.
target_include_directories(brel_portable_math PRIVATE ${BREL_MUSL_MATH_DIR}/shim ${BREL_MUSL_MATH_DIR}/include)
target_include_directories(brel_portable_math SYSTEM INTERFACE ${BREL_MUSL_MATH_DIR}/include)
# Vendored code is not held to our warnings.
target_compile_options(brel_portable_math PRIVATE -w)
