# Two commands do everything on a fresh Debian machine:
#   make run   installs what is missing, builds and starts Vornelle
#   make test  installs what is missing, builds and runs every test
# The developers' builds (build, test, bench) and CI stop on any compiler warning
# (VORNELLE_WERROR); `make run` and the package build do not, so that a compiler newer than
# ours never keeps a user from starting the program.
BUILD ?= build
JOBS ?= 2

FUZZ_SECONDS ?= 60

.PHONY: run test setup build bench fuzz package package-check clean

setup:
	./scripts/setup.sh

# Configured again when this file changes, so that a build folder made before picks up its options.
$(BUILD)/build.ninja: Makefile | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNELLE_WERROR=ON

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The programs only, warnings not fatal, in a folder of their own: `make test` afterwards does
# not rebuild everything with other options.
run: setup
	cmake -S . -B $(BUILD)-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNELLE_TESTS=OFF -DVORNELLE_WERROR=OFF
	cmake --build $(BUILD)-run -j $(JOBS)
	./$(BUILD)-run/src/app/vornelle

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: setup
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNELLE_BENCH=ON -DVORNELLE_TESTS=OFF -DVORNELLE_WERROR=ON
	cmake --build $(BUILD)-bench -j $(JOBS)

# Every libFuzzer target of fuzz/ for FUZZ_SECONDS each, from its corpus (clang; engines only).
fuzz:
	./scripts/setup.sh --fuzz
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DVORNELLE_FUZZ=ON -DVORNELLE_TESTS=OFF -DVORNELLE_WERROR=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	./scripts/fuzz.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

# The Debian package vornelle_VERSION-1_ARCH.deb, copied here: a Release build of the programs
# only, with Debian's hardening flags, warnings not fatal (another compiler may add some).
package: setup
	DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	cmake -S . -B $(BUILD)-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNELLE_TESTS=OFF \
	  -DVORNELLE_WERROR=OFF "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(BUILD)-package -j $(JOBS)
	rm -f $(BUILD)-package/vornelle_*.deb
	cd $(BUILD)-package && cpack -G DEB
	cp $(BUILD)-package/vornelle_*.deb .

# The validators of desktop entries, AppStream metadata and Debian packages on what
# `make package` made (scripts/setup-package.sh installs them).
package-check: package
	./scripts/setup-package.sh
	./scripts/check-package.sh $(BUILD)-package

clean:
	rm -rf $(BUILD) $(BUILD)-run $(BUILD)-bench $(BUILD)-asan $(BUILD)-package $(BUILD)-fuzz
