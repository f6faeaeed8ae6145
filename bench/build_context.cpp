// Every benchmark program says which build it measures: the build type and its flags, which are the
// ones the player is built with when the build types agree (`make bench` builds the played type).
#include <benchmark/benchmark.h>

namespace {

const bool s_Registered = [] {
  benchmark::AddCustomContext("player_build", PLAYER_BUILD_DESCRIPTION);
  return true;
}();

}  // namespace
