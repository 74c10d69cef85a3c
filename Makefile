# Velmora: one Makefile so that nobody needs to know CMake.
#
#   make test    install what is missing, build every configuration, run every test
#                tier this machine can run, and end with one line per tier
#   make run     build Velmora.exe and start it under Wine: the 32-bit program
#                where this machine runs 32-bit code, the 64-bit one otherwise
#   make bench   native benchmarks; the 2 000-entry listing and the start-up of
#                Velmora.exe under 64-bit Wine beside a plain dialog (and of
#                the 32-bit program where this machine runs it), and a command
#                through the terminal launcher beside the program itself
#                (outside the tests); one summary table of every measure and
#                goal at the end
#   make fuzz    libFuzzer targets, FUZZ_SECONDS each (default 420)
#   make dist    dist/: both stripped programs, the versioned release zips (with
#                .sha256), both Windows SDK zips, the Linux library, and
#                dist/manifests/ for Scoop, winget and Chocolatey
#   make format  lays out the product code as .clang-format says (clang-format -i);
#                make test checks it (scripts/check-format.sh, the format tier)

BUILD ?= build
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 420
SMOKE_FUZZ_SECONDS ?= 30

NATIVE := $(BUILD)/native
SANITIZE := $(BUILD)/native-sanitize
WINDOWS32 := $(BUILD)/windows32
WINDOWS64 := $(BUILD)/windows64
FUZZ := $(BUILD)/fuzz

.PHONY: all setup native sanitize windows windows32 windows64 fuzz-build test test-native test-sanitize \
        test-windows32 test-windows64 check-windows32 check-release test-fuzz run bench fuzz dist clean format check-format

all: native windows

setup:
	@scripts/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BENCH=ON >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

sanitize: setup
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j$(JOBS)

windows: windows32 windows64

windows32: setup
	@scripts/configure-windows.sh $(WINDOWS32) cmake/mingw-i686.cmake
	@cmake --build $(WINDOWS32) -j$(JOBS)

windows64: setup
	@scripts/configure-windows.sh $(WINDOWS64) cmake/mingw-x86_64.cmake
	@cmake --build $(WINDOWS64) -j$(JOBS)

fuzz-build: setup
	@if [ -f $(FUZZ)/CMakeCache.txt ]; then cmake -S . -B $(FUZZ) >/dev/null; \
	 else cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON >/dev/null; fi
	@cmake --build $(FUZZ) -j$(JOBS)

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure --timeout 600

test-sanitize: sanitize
	ctest --test-dir $(SANITIZE) --output-on-failure --timeout 600

# A Windows test program that fails is run once more: a Wine process now and
# then ends at once, before the program prints anything (seen once in about
# 100 starts: 0.02 s, no output, not reproduced in 80 more). The first
# failure stays in the log; one that fails twice fails the tier.
WINE_CTEST = ctest --output-on-failure --timeout 900 --repeat until-pass:2

test-windows64: windows64
	scripts/with-display.sh $(WINE_CTEST) --test-dir $(WINDOWS64)

# The whole 32-bit tier under 32-bit Wine, and the WOW64 branch in a 64-bit
# prefix: only where 32-bit programs run.
test-windows32: windows32
	scripts/with-display.sh $(WINE_CTEST) --test-dir $(WINDOWS32)

# What can be told of the 32-bit build without running it.
check-windows32: windows32
	ctest --test-dir $(WINDOWS32) --output-on-failure -L static

test-fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ) $(SMOKE_FUZZ_SECONDS)

# The product code laid out as .clang-format says: checked (a tier of make
# test), or laid out in place.
check-format: setup
	scripts/check-format.sh

format: setup
	@scripts/check-format.sh --fix

# Every tier, each to its end whatever the others did; then one line per tier.
test: setup
	@scripts/test-tiers.sh

run: setup
	@scripts/run-here.sh $(WINDOWS32) $(WINDOWS64)

dist: windows native
	scripts/dist.sh dist --win32 $(WINDOWS32) --win64 $(WINDOWS64) --native $(NATIVE)

# The release as make dist makes it, in a scratch folder: the zips, their
# checksums and the package managers' manifests checked offline.
check-release: windows native
	@rm -rf $(BUILD)/release-check
	@scripts/dist.sh $(BUILD)/release-check --win32 $(WINDOWS32) --win64 $(WINDOWS64) --native $(NATIVE)
	@python3 tests/dist/release_check.py $(BUILD)/release-check \
	  $$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

bench: native windows
	scripts/bench-all.sh $(NATIVE) $(WINDOWS64) $(shell scripts/can-run-i386.sh --wine && echo $(WINDOWS32))

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
