# Thin wrapper: everything real lives in CMake.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@./.ci/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: build
	@tools/run/run.sh $(BUILD)

# Builds only the benchmark programs, runs them briefly and prints one table of figures.
bench: configure
	@JOBS=$(JOBS) bench/run_all.sh $(BUILD)

clean:
	@rm -rf $(BUILD)
