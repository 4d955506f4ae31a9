# Warning and floating-point options shared by every target of the project.

option(VAROLEN_WERROR "Treat warnings as errors" OFF)
option(VAROLEN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# The core's own code: strict warnings.
add_library(varolen_warnings INTERFACE)
target_compile_options(varolen_warnings INTERFACE -Wall -Wextra -Wconversion -Wshadow)
if(VAROLEN_WERROR)
  target_compile_options(varolen_warnings INTERFACE -Werror)
endif()

# The DLL and the native build must compute the same numbers: SSE2 arithmetic on
# both, and no fused multiply-add that one side would use and the other not.
add_library(varolen_floating_point INTERFACE)
target_compile_options(varolen_floating_point INTERFACE -ffp-contract=off)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "i686|x86$")
  target_compile_options(varolen_floating_point INTERFACE -msse2 -mfpmath=sse)
endif()

option(VAROLEN_FUZZ "Build the fuzz targets (clang, libFuzzer) instead of the tests" OFF)
if(VAROLEN_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VAROLEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
