# Floating-point arithmetic that gives the same bits on every platform and CPU we build for: IEEE
# double operations evaluated in double on SSE2 (never x87's wider registers), no fused
# multiply-add, no value-changing optimisation. Every target of the tree compiles with these;
# the options that would undo them are refused here, before anything is built. The chain's
# recorded outputs (tests/engine/GoldenOutputs.inc) and the arithmetic test check the result.
set(BREL_ARITHMETIC_FLAGS -ffp-contract=off -fno-fast-math)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  list(APPEND BREL_ARITHMETIC_FLAGS -msse2 -mfpmath=sse)
endif()
add_compile_options(${BREL_ARITHMETIC_FLAGS})

foreach(flags_var CMAKE_C_FLAGS CMAKE_CXX_FLAGS CMAKE_C_FLAGS_${CMAKE_BUILD_TYPE} CMAKE_CXX_FLAGS_${CMAKE_BUILD_TYPE})
  string(TOUPPER "${flags_var}" flags_var)
  foreach(forbidden -ffast-math -Ofast -march=native -mtune=native -mfma -mavx2 -mfpmath=387 -ffp-contract=fast)
    string(FIND " ${${flags_var}} " " ${forbidden}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${flags_var} holds ${forbidden}: the modules' output would no longer be the same "
                          "bits on every machine")
    endif()
  endforeach()
endforeach()
