# The two commands of the README: `make play` and `make test`.
GAME ?= build/game
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build build-asan play test test-normal test-asan bench clean

all: build

deps:
	@bash scripts/setup.sh

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLAYER_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

play: build
	mkdir -p $(GAME)
	./build/player -C $(GAME)

test: test-normal test-asan

test-normal: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLAYER_BENCH=ON -DPLAYER_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS)

clean:
	rm -rf build build-asan build-bench
