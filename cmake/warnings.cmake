# House compile settings: zero warnings under -Wall -Wextra, and floating point that gives the same
# bits on every run (replays depend on it).
add_compile_options(-Wall -Wextra -ffp-contract=off)
if(PLAYER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
