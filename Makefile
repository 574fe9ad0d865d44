# The program's commands. `make run` and `make test` install what is missing,
# configure build/ and build; `make test` then runs every test with CTest.
# `make test-asan` and `make test-tsan` run the same tests built with the
# address (plus undefined-behaviour) or thread sanitizer, each in a build
# folder of its own; `make fuzz` builds the libFuzzer harnesses with clang and
# runs each for FUZZ_SECONDS.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ARGS ?=
FUZZ_SECONDS ?= 30
# Worktrees of one checkout share compiled objects.
export CCACHE_BASEDIR ?= $(CURDIR)

# The sanitizer builds leave the embedded browser out: Chromium's own
# processes are not built for the sanitizers.
SANITIZER_FLAGS = -DTV_WEBENGINE=OFF $(CMAKE_FLAGS)
CTEST = QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

.PHONY: deps configure build run test test-asan test-tsan fuzz bench format clean

deps:
	scripts/setup-deps

# build/ compiles the benchmarks too (in Debug, not run), so a change that
# breaks one is seen by `make test`; `make bench` runs them from a Release build.
configure: deps
	cmake -S . -B $(BUILD) -DTV_BUILD_BENCH=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/tickvane $(ARGS)

test: build
	cd $(BUILD) && $(CTEST)

test-asan: deps
	cmake -S . -B $(BUILD)-asan -DTV_SANITIZE=address $(SANITIZER_FLAGS)
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && $(CTEST)

test-tsan: deps
	cmake -S . -B $(BUILD)-tsan -DTV_SANITIZE=thread $(SANITIZER_FLAGS)
	cmake --build $(BUILD)-tsan -j $(JOBS)
	cd $(BUILD)-tsan && $(CTEST)

fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_CXX_COMPILER=clang++ -DTV_SANITIZE=fuzzer \
	  -DTV_BUILD_TESTS=OFF $(SANITIZER_FLAGS)
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzzers
	fuzz/run-all $(BUILD)-fuzz/fuzz $(FUZZ_SECONDS) $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DTV_BUILD_TESTS=OFF -DTV_BUILD_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	QT_QPA_PLATFORM=offscreen sh -c 'missed=0; for b in $(BUILD)-bench/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; "$$b" || missed=1; done; exit $$missed'

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz
