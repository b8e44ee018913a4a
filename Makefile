# Thin wrapper over CMake presets; see README.md.
BUILD_DIR ?= build/debug
RELEASE_DIR ?= build/release
JOBS ?= $(shell nproc)

.PHONY: all deps build run test bench soak release clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug -j $(JOBS)

release: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

run: build
	LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp $(BUILD_DIR)/src/app/orvo-browser

test: build
	ctest --preset debug -j $(JOBS)

bench: release
	bench/run-all.sh $(RELEASE_DIR)

# The randomized model test's long run: make soak [SEEDS=5] [STEPS=2000]
SEEDS ?= 5
STEPS ?= 2000
soak: release
	bench/run-tree-model.sh $(RELEASE_DIR) $(SEEDS) $(STEPS)

clean:
	rm -rf build
