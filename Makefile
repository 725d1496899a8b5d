# Every target installs what it needs first, so a fresh Debian machine needs
# nothing but these commands.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
WINDOWS_BUILD ?= build-windows
# Extra options for the benchmark runner, e.g. BENCH_FLAGS="--size=1G --repeat=1".
BENCH_FLAGS ?=
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: deps configure build run test test-linux test-windows test-asan windows fuzz bench screenshot \
  screenshot-windows \
  format clean

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/app/identstrip

test: test-linux test-windows

test-linux: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The native 32-bit Windows programs, cross-compiled with mingw-w64.
windows: deps
	@cmake -S . -B $(WINDOWS_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DIDENTSTRIP_LINUX_CLI=$(CURDIR)/$(BUILD)/cli/identstrip-cli >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The Windows build's tests, run under Wine; identstrip-cli.exe is compared
# with the Linux build's identstrip-cli when that has been built.
test-windows: windows
	@ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS)

# The same tests, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DIDENTSTRIP_SANITIZE=ON \
	  -DIDENTSTRIP_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Longer fuzz campaigns than the short one in `make test`, built with clang in
# build-fuzz; FUZZ_SECONDS is the time each fuzzer runs.
FUZZ_SECONDS ?= 300
fuzz: deps
	@./tests/fuzz/run_fuzzers.sh --seconds $(FUZZ_SECONDS) --build build-fuzz


# Every benchmark, on exports generated into $(BENCH_BUILD)/bench-data, in a
# Release build of its own; prints one table.
bench: deps
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DIDENTSTRIP_BUILD_UI=OFF \
	  -DIDENTSTRIP_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@./$(BENCH_BUILD)/bench/identstrip_bench --data=$(BENCH_BUILD)/bench-data $(BENCH_FLAGS)

# A picture of the main window, opened under a private Xvfb.
screenshot: build
	@./scripts/screenshot.sh $(BUILD)/tests/ui/window_preview docs/window.png

# A picture of identstrip.exe's window under Wine, on a private Xvfb.
screenshot-windows: windows
	@./scripts/screenshot-windows.sh $(WINDOWS_BUILD)/app/identstrip.exe \
	  $(WINDOWS_BUILD)/tests/e2e/window_probe.exe $(WINDOWS_BUILD)/wine-prefix-gui docs/window-wine.png

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(WINDOWS_BUILD) build-fuzz
