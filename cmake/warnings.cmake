# House compile settings: zero warnings under -Wall -Wextra, and floating point that gives the same
# bits on every run (replays depend on it).
add_compile_options(-Wall -Wextra -ffp-contract=off)
if(PLAYER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# The fuzz build instruments every library for libFuzzer's coverage and both sanitizers; only the
# fuzz targets themselves link libFuzzer's main (fuzz/CMakeLists.txt).
if(PLAYER_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "PLAYER_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
