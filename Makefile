# The two commands of the README: `make play` and `make test`.
GAME ?= build/game
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# The build that `make play` runs and `make bench` measures: -O2 with debug information; the pixel
# loops (platform/display, the frame conversion) are built at -O3 in every build type.
BUILD_TYPE ?= RelWithDebInfo
BENCHES := blit_bench frame_loop_bench present_bench mixer_bench effects_bench stage_draw_bench logic_step_bench stage_load_bench replay_bench
BENCH_TARGETS ?= $(BENCHES)
BENCH_FLAGS ?=

.PHONY: all deps build build-asan build-tsan build-fuzz play test test-normal test-tsan test-asan fuzz fuzz-long bench bench-goals build-bench replays mutation clean

all: build

deps:
	@bash scripts/setup.sh

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

# The sanitizer builds carry line tables only (-g1): enough for their reports, and far cheaper to build.
SANITIZER_DEBUG := -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1

build-asan: deps
	cmake -S . -B build-asan -G Ninja $(SANITIZER_DEBUG) -DPLAYER_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

# ThreadSanitizer build of the programs whose tests run threads against each other.
build-tsan: deps
	cmake -S . -B build-tsan -G Ninja $(SANITIZER_DEBUG) -DCMAKE_CXX_FLAGS=-fsanitize=thread \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target host_tests services_tests shell_tests player

# The sample game is written into build/game by the generator; it is written again only when the
# generator is newer than the game it wrote. Another GAME is played as it is.
SAMPLE_GAME := build/game
SAMPLE_STAMP := $(SAMPLE_GAME)/System.ini

play: build
ifeq ($(GAME),$(SAMPLE_GAME))
	@if [ ! -f $(SAMPLE_STAMP) ] || [ build/tools/make_sample_game -nt $(SAMPLE_STAMP) ]; then \
	  echo "make_sample_game $(SAMPLE_GAME)"; ./build/tools/make_sample_game $(SAMPLE_GAME); fi
endif
	./build/player -C $(GAME)

test: test-normal test-tsan test-asan fuzz

test-normal: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-tsan: build-tsan
	TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/host_tests --gtest_filter='MessageQueue*' --gtest_brief=1
	TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/services_tests --gtest_filter='Thread*:Timers*:FrameLimit*:*Log*' --gtest_brief=1
	# The whole program headless: its window thread, game thread and workers against each other.
	TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/shell_tests --gtest_filter='HeadlessRun*:GameLoop*:MainWindowClose*:TalkRun*' --gtest_brief=1

# The whole-program replays and the settings sweep play the same code as the tests that stay, only
# longer: they run in the normal build alone, which keeps the sanitizer run's cost down.
ASAN_SKIP := ReplaySuiteTest|SettingsSweep|ReplayRunTest.AnAttemptSavedWithF1
test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -E '$(ASAN_SKIP)'
	# The short form of the mutation runs: one damaged copy of a file of each kind.
	FILTER='$(MUTATION_SHORT)' JOBS=$(JOBS) FAILURES=build-asan/mutation_failures bash scripts/mutation_runs.sh 1

# Every file of the sample game damaged MUTATIONS times, each damaged game played by the sanitizer
# build (scripts/mutation_runs.sh); `make test` runs the short form over the files of MUTATION_SHORT.
MUTATIONS ?= 10
MUTATION_SHORT := ^(System\.ini|data/(System|WorldMap)\.dat|data/database/Effect\.dat|data/stg4/items\.stg4|default/CommonPalette\.cplt4|bmp/Title\.bmp|wave/Jump\.wav|bgm/Title\.mid|bgm/Challenge\.ogg|user_data/(Option|Boot|KeyConfig)\.dat|user_data/story/Story01\.dat|user_data/challenge/c03\.rkg|user_data/rpl4/w01-1\.rpl4_556)$$
mutation: build-asan
	bash scripts/mutation_runs.sh $(MUTATIONS)

# The fuzz targets (fuzz/): a clang build of their own with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, of the libraries they link and nothing else, at -O1 with line tables.
# `make fuzz` (part of `make test`) runs each target a few seconds over its seeds; `make fuzz-long`
# runs each 10^6 executions, FUZZ_JOBS at a time. A fault leaves its input in build-fuzz/artifacts/.
FUZZ_JOBS ?= 3
build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" -DPLAYER_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets

fuzz: build-fuzz
	FUZZ_JOBS=$(FUZZ_JOBS) bash fuzz/run.sh short

fuzz-long: build-fuzz
	FUZZ_JOBS=$(FUZZ_JOBS) bash fuzz/run.sh long

# The benchmarks measure the code the player runs, built as `make play` builds it (same build type
# and flags, in a folder of its own without the tests), and run one after the other. Each program
# prints the build it measures ("player_build").
bench: BENCH_TARGETS = $(BENCHES)
bench: build-bench
	@for b in $(BENCHES); do ./build-bench/bench/$$b $(BENCH_FLAGS) || exit 1; done

# Every performance goal from one run of the cases it is read from, then the table of goals,
# figures, yardsticks, ratios and whether each is met (bench/goals.cpp).
bench-goals: BENCH_TARGETS = bench_goals
bench-goals: build-bench
	./build-bench/bench/bench_goals $(BENCH_FLAGS)

build-bench: deps
	@echo "measuring the $(BUILD_TYPE) build that make play runs (pixel loops at -O3)"
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DPLAYER_BENCH=ON -DPLAYER_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target $(BENCH_TARGETS)

# Records the replay suite (tests/replays/) again against the sample game: after a change that is
# meant to change how the sample's stages play.
replays: build
	bash scripts/record_replays.sh

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz
