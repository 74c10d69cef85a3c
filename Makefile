# Velmora: one Makefile so that nobody needs to know CMake.
#
#   make test    install what is missing, build both configurations, run every test
#   make run     build Velmora.exe and start it under Wine
#   make bench   native benchmarks, and the start-up of Velmora.exe under Wine
#                beside a plain dialog (outside the tests)
#   make fuzz    libFuzzer targets, FUZZ_SECONDS each (default 420)
#   make dist    dist/: the stripped Velmora.exe, the Windows SDK zip, the Linux library

BUILD ?= build
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 420
SMOKE_FUZZ_SECONDS ?= 30

NATIVE := $(BUILD)/native
SANITIZE := $(BUILD)/native-sanitize
WINDOWS := $(BUILD)/windows
FUZZ := $(BUILD)/fuzz

.PHONY: all setup native sanitize windows fuzz-build test test-native test-sanitize test-windows \
        test-fuzz run bench fuzz dist clean

all: native windows

setup:
	@scripts/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BENCH=ON >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

sanitize: setup
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j$(JOBS)

windows: setup
	@if [ -f $(WINDOWS)/CMakeCache.txt ]; then cmake -S . -B $(WINDOWS) >/dev/null; \
	 else cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null; fi
	@cmake --build $(WINDOWS) -j$(JOBS)

fuzz-build: setup
	@if [ -f $(FUZZ)/CMakeCache.txt ]; then cmake -S . -B $(FUZZ) >/dev/null; \
	 else cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null; fi
	@cmake --build $(FUZZ) -j$(JOBS)

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure --timeout 600

test-sanitize: sanitize
	ctest --test-dir $(SANITIZE) --output-on-failure --timeout 600

test-windows: windows
	scripts/with-display.sh ctest --test-dir $(WINDOWS) --output-on-failure --timeout 900

test-fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ) $(SMOKE_FUZZ_SECONDS)

test: test-native test-sanitize test-windows test-fuzz

run: windows
	scripts/run.sh $(WINDOWS)

dist: windows native
	scripts/dist.sh dist $(WINDOWS) $(NATIVE)

bench: native windows
	scripts/bench.sh $(NATIVE)
	scripts/bench-startup.sh $(WINDOWS)

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
