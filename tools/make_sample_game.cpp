// make_sample_game DIR: writes the sample game into the folder DIR.
#include <cstdio>

#include "tools/sample_game.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_game DIR\n");
    return 2;
  }
  return WriteSampleGame(argv[1]) ? 0 : 1;
}
