# The commands of the README:
#   make run    installs what is missing, builds, starts Vidorun on the demo disc
#   make test   installs what is missing, builds, runs every test headless
#   make package  builds the Debian package $(BUILD_DIR)/vidorun_<version>_<arch>.deb
#   make bench  builds a Release in $(BENCH_DIR) and prints the start-up and project file figures
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
BENCH_ARGS ?=
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)

.PHONY: run test package bench build deps-run deps-test deps-package deps-bench

run: deps-run
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=OFF $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun -j $(JOBS)
	scripts/run-demo.sh $(BUILD_DIR)/vidorun

test: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=ON $(LAUNCHER)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

package: deps-package
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=OFF $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun -j $(JOBS)
	cd $(BUILD_DIR) && cpack -G DEB

# Measurements, not tests: never part of `make test`.
bench: deps-bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DVIDORUN_BUILD_TESTS=OFF -DVIDORUN_BUILD_BENCH=ON $(LAUNCHER)
	cmake --build $(BENCH_DIR) -j $(JOBS)
	python3 bench/run_bench.py --build-dir $(BENCH_DIR) $(BENCH_ARGS)

deps-run:
	@scripts/install-deps.sh run

deps-test:
	@scripts/install-deps.sh test

deps-package:
	@scripts/install-deps.sh package

deps-bench:
	@scripts/install-deps.sh bench
