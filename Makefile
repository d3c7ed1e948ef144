# make run: install what is missing, build, run.   make test: install, build, run every test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DQM_WERROR=ON
endif

SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build run test format format-check tidy clean bench fuzz fuzz-ci test-sanitize package \
	wasm-check

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

# make package: quellmark_<version>_<arch>.deb in the build folder, of everything the install rules put in place
# (the programs find their modules and help relative to their own folder, so the build folder's programs serve).
package: build
	@cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/quellmark_*.deb

# Benchmarks in their own Release folder (not part of test or CI): one table of measurements against targets.
bench:
	@bench/run build-bench

format:
	@clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES)

# make tidy: clang-tidy with the checks of .clang-tidy over every source file of src/ (compile commands from the
# build folder, built first for the generated Qt sources); any finding fails.
tidy: build
	@run-clang-tidy -quiet -p $(BUILD) -j 2 -extra-arg=-Wno-unknown-warning-option '$(CURDIR)/src/.*\.cpp$$'

# make wasm-check: every source file of the core compiles with emscripten (syntax only), for the browser build.
wasm-check: deps
	@scripts/check-wasm

clean:
	@rm -rf $(BUILD)

# make fuzz: the libFuzzer targets (clang), each run FUZZ_SECONDS on a copy of its seed corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DQM_FUZZ=ON -DQM_BUILD_TESTS=OFF $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets
	@scripts/run-fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=20

# make test-sanitize: every target built with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer,
# then the whole test suite; any report fails the run.
SANITIZE_BUILD ?= build-sanitize
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON $(CMAKE_FLAGS) > /dev/null
	@cmake --build $(SANITIZE_BUILD)
	@$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j 2
