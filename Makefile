# The two commands of the README:
#   make run    installs what is missing, builds, starts Vidorun on the demo disc
#   make test   installs what is missing, builds, runs every test headless, then
#               builds the tests again with AddressSanitizer and
#               UndefinedBehaviorSanitizer and runs them once more, then
#               builds Vidorun.exe and the tests for Windows and runs them
#               under Wine
# and others of their own:
#   make windows      builds Vidorun.exe and the disc folder $(WINDOWS_DIR)/disc, ready to burn
#   make package      builds Vidorun.exe, then the Debian package $(BUILD_DIR)/vidorun_<version>_<arch>.deb,
#                     which carries it for vidorun --publish
#   make screenshots  renders the windows to $(BUILD_DIR)/screenshots/*.png
#   make fuzz         runs each fuzz target for FUZZ_SECONDS (default 60)
#   make bench        builds a Release in $(BENCH_DIR) and prints the start-up and project file figures
#   make bench-windows  Vidorun.exe's size, its reading time from a disc and its start-up under Wine,
#                     beside a floor program
SHELL := /bin/bash
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
WINDOWS_DIR ?= build-windows
BENCH_ARGS ?=
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)
FUZZ_TARGETS := project_reader_fuzzer round_trip_fuzzer safe_names_fuzzer
# The Vidorun.exe the Linux program's package carries, and a build tree's
# program finds, for the discs vidorun --publish makes.
WINDOWS_PROGRAM := -DVIDORUN_WINDOWS_PROGRAM=$(CURDIR)/$(WINDOWS_DIR)/Vidorun.exe

# Any sanitizer report stops the test that made it, with its stack.
SANITIZER_ENV := \
  ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

.PHONY: run test test-plain test-sanitize test-windows windows windows-configure package screenshots fuzz bench bench-windows \
	deps-run deps-test deps-package deps-fuzz deps-bench deps-windows

run: deps-run
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=OFF $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun -j $(JOBS)
	scripts/run-demo.sh $(BUILD_DIR)/vidorun

# Vidorun.exe first: the package the plain run checks carries it.
test: windows test-plain test-sanitize test-windows

test-plain: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=ON $(WINDOWS_PROGRAM) $(LAUNCHER)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The sanitizers watch the code under test; the package checks, which need
# the plain build's program, stay with the plain run.
test-sanitize: deps-test
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=ON -DVIDORUN_SANITIZE=ON $(LAUNCHER)
	cmake --build $(SANITIZE_DIR) --target vidorun_tests -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS) --label-exclude packaging

# Vidorun.exe, cross-built with Debian's mingw-w64 against the static
# libarchive that scripts/windows-libarchive.sh builds once per machine from
# Debian's own source (about a minute). A build folder made against another
# libarchive is made afresh.
windows-configure: deps-windows
	@archive=$$(scripts/windows-libarchive.sh) && \
	  if [ "$$(cat $(WINDOWS_DIR)/.windows-libarchive 2>/dev/null)" != "$$archive" ]; then rm -rf $(WINDOWS_DIR); fi && \
	  cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DVIDORUN_BUILD_TESTS=ON \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	    -DLibArchive_INCLUDE_DIR=$$archive/include -DLibArchive_LIBRARY=$$archive/lib/libarchive.a \
	    $(LAUNCHER) >/dev/null && \
	  echo "$$archive" > $(WINDOWS_DIR)/.windows-libarchive

windows: windows-configure
	cmake --build $(WINDOWS_DIR) --target windows_disc -j $(JOBS)
	@echo "The disc folder for Windows: $(WINDOWS_DIR)/disc"

# The suite built for Windows, the Windows front end's own tests, the
# Windows layer on Windows' own API and a smoke run of Vidorun.exe, all under
# Wine on one Xvfb display that the run shares; the display and Wine's
# server are stopped afterwards, whatever the outcome. The disc folder then
# goes through the disc check, when the Linux program is built.
test-windows: windows
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	@stop() { tests/windows/wine-on-display.sh --stop "$(CURDIR)/$(WINDOWS_DIR)/wine-prefix"; }; \
	  trap stop EXIT INT TERM; \
	  ctest --test-dir "$(WINDOWS_DIR)" --output-on-failure -j $(JOBS)
	if [ -x $(BUILD_DIR)/vidorun ]; then $(BUILD_DIR)/vidorun --check $(WINDOWS_DIR)/disc; fi

package: deps-package windows
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=OFF $(WINDOWS_PROGRAM) $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun -j $(JOBS)
	cd $(BUILD_DIR) && cpack -G DEB

screenshots: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=ON $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun_screenshots -j $(JOBS)
	$(BUILD_DIR)/tests/vidorun_screenshots demo $(BUILD_DIR)/screenshots

# New inputs go to $(FUZZ_DIR)/corpus; inputs that crash go to
# tests/fuzz-crashes/, where the test suite replays them.
fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_DIR) -DVIDORUN_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@set -eo pipefail; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target; \
	  echo "== $$target, $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/fuzz/$$target $(FUZZ_DIR)/corpus/$$target tests/fuzz-corpus tests/fuzz-crashes \
	    -dict=fuzz/project_file.dict -max_total_time=$(FUZZ_SECONDS) -max_len=20000 \
	    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -artifact_prefix=tests/fuzz-crashes/ 2>&1 | grep -av '^#'; \
	done

# Measurements, not tests: never part of `make test`.
bench: deps-bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DVIDORUN_BUILD_TESTS=OFF -DVIDORUN_BUILD_BENCH=ON $(LAUNCHER)
	cmake --build $(BENCH_DIR) -j $(JOBS)
	python3 bench/run_bench.py --build-dir $(BENCH_DIR) $(BENCH_ARGS)

bench-windows: windows
	cmake --build $(WINDOWS_DIR) --target bench_floor_window bench_main_window -j $(JOBS)
	python3 bench/run_bench_windows.py --build-dir $(WINDOWS_DIR) $(BENCH_ARGS)

deps-run:
	@scripts/install-deps.sh run

deps-test:
	@scripts/install-deps.sh test

deps-package:
	@scripts/install-deps.sh package

deps-fuzz:
	@scripts/install-deps.sh fuzz

deps-bench:
	@scripts/install-deps.sh bench

deps-windows:
	@scripts/install-deps.sh windows
