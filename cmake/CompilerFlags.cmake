# Flags that decide whether the picture is right, not just how fast it comes.
# The moving point is specified to the last bit of a float, so every build must narrow
# exactly where the code says and nowhere else.

# A fused multiply-add skips the rounding between the product and the sum.
add_compile_options(-ffp-contract=off)
# Fast-math reorders and contracts float arithmetic; it must never creep in.
add_compile_options(-fno-fast-math)
# x87 keeps excess precision in registers and so moves the narrowing points; SSE2 does not.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

add_compile_options(-Wall -Wextra -Wpedantic)

# Sanitizers for the debug preset; the whole suite must run clean under both.
option(COLORLINES_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(COLORLINES_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing builds everything with coverage feedback for libFuzzer, under both sanitizers.
option(COLORLINES_FUZZ "Build the fuzz targets (clang only)" OFF)
if(COLORLINES_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
