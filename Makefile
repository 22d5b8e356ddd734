# The commands of the README:
#   make run    installs what is missing, builds, starts Vidorun on the demo disc
#   make test   installs what is missing, builds, runs every test headless
#   make package  builds the Debian package $(BUILD_DIR)/vidorun_<version>_<arch>.deb
#   make screenshots   renders the windows to $(BUILD_DIR)/screenshots/*.png
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache,)

.PHONY: run test package screenshots deps-run deps-test deps-package

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

screenshots: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVIDORUN_BUILD_TESTS=ON $(LAUNCHER)
	cmake --build $(BUILD_DIR) --target vidorun_screenshots -j $(JOBS)
	$(BUILD_DIR)/tests/vidorun_screenshots demo $(BUILD_DIR)/screenshots

deps-run:
	@scripts/install-deps.sh run

deps-test:
	@scripts/install-deps.sh test

deps-package:
	@scripts/install-deps.sh package
