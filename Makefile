# The two commands a new machine needs: `make run` and `make test`; `make package` builds the
# Debian package; `make bench` measures what the programs cost.
BUILD_DIR ?= build
# make bench measures a Release build, kept apart from the everyday build.
RELEASE_DIR ?= build-release
# `make asan`: the whole test suite once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer, in a folder of its own so the normal build stays as it is.
ASAN_BUILD_DIR ?= build-asan
# `make fuzz`: the libFuzzer targets of tests/fuzz/, built with clang in a folder of their own,
# each run for FUZZ_SECONDS (one core at a time).
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
BIN_DIR := $(BUILD_DIR)/bin
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test format asan fuzz screenshots package bench clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
		cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session"; \
		exit 1; \
	fi
	cd $(BIN_DIR) && ./Morvane

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Every C++ source laid out as .clang-format says; make test checks it.
format: deps
	bash scripts/format

asan: deps
	cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_SANITIZE=ON
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	cd $(ASAN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

fuzz:
	@bash scripts/install-deps --fuzz
	cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON
	cmake --build $(FUZZ_BUILD_DIR) --target morvane_fuzzers -j $(JOBS)
	bash tests/fuzz/run-fuzzers $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

# Every window rendered offscreen into docs/screenshots/, for the README and the package, in a
# home of its own at /home/xiaoqie (see tools/screenshots/render.sh).
screenshots: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target screenshots
	QT_QPA_PLATFORM=offscreen bash tools/screenshots/render.sh $(BUILD_DIR)/tools/screenshots/screenshots docs/screenshots

# build/morvane_<version>_<arch>.deb, checked by lintian.
package: build
	@bash scripts/install-deps --packaging
	cd $(BUILD_DIR) && cpack -G DEB
	lintian --fail-on error $(BUILD_DIR)/morvane_*.deb

# Each figure beside a reference measured in the same run, as a Markdown table on stdout and
# in $(RELEASE_DIR)/bench.md. Takes a few minutes; not part of make test.
bench: deps
	@if [ ! -f $(RELEASE_DIR)/build.ninja ]; then \
		cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release; \
	fi
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target bench_runner
	$(RELEASE_DIR)/bench/bench_runner $(RELEASE_DIR)/bench.md

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR)
