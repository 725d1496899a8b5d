# Every target installs what it needs first, so a fresh Debian machine needs
# nothing but these commands.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: deps configure build run test test-asan fuzz bench screenshot format clean

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/app/identstrip

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

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

bench: build
	@echo "no benchmarks yet"

# A picture of the main window, opened under a private Xvfb.
screenshot: build
	@./scripts/screenshot.sh $(BUILD)/tests/ui/window_preview docs/window.png

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
