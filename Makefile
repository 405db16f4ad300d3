# Two commands do everything on a fresh Debian machine:
#   make run   installs what is missing, builds and starts Vornelle
#   make test  installs what is missing, builds and runs every test
# Developer builds stop on any compiler warning (VORNELLE_WERROR); the package build does not.
BUILD ?= build
JOBS ?= 2

.PHONY: run test setup build bench clean

setup:
	./scripts/setup.sh

# Configured again when this file changes, so that a build folder made before picks up its options.
$(BUILD)/build.ninja: Makefile | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNELLE_WERROR=ON

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/vornelle

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: setup
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNELLE_BENCH=ON -DVORNELLE_TESTS=OFF -DVORNELLE_WERROR=ON
	cmake --build $(BUILD)-bench -j $(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan
