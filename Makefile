# The program's commands. `make run` and `make test` install what is missing,
# configure build/ and build; `make test` then runs every test with CTest.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ARGS ?=
# Worktrees of one checkout share compiled objects.
export CCACHE_BASEDIR ?= $(CURDIR)

.PHONY: deps configure build run test bench format clean

deps:
	scripts/setup-deps

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/tickvane $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DTV_BUILD_TESTS=OFF -DTV_BUILD_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	QT_QPA_PLATFORM=offscreen sh -c 'for b in $(BUILD)-bench/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; "$$b" || exit 1; done'

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD)-bench
