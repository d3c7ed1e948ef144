# make run: install what is missing, build, run.   make test: install, build, run every test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DQM_WERROR=ON
endif

SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build run test format format-check clean bench

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@scripts/run-desktop $(BUILD)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j 2

# Benchmarks in their own Release folder (not part of test or CI): one table of measurements against targets.
bench:
	@bench/run build-bench

format:
	@clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	@rm -rf $(BUILD)
