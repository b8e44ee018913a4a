# Thin wrapper over CMake presets; see README.md.
BUILD_DIR ?= build/debug
RELEASE_DIR ?= build/release
RUN_DIR ?= build/run
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

.PHONY: all deps build optimized run install uninstall package test bench soak release clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug -j $(JOBS)

release: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)

# Running, installing and packaging use an optimised build with debug
# information and no sanitizers; only the two programs are built there.
optimized: deps
	@cmake --preset run >/dev/null
	@cmake --build --preset run -j $(JOBS)

run: optimized
	$(RUN_DIR)/src/app/orvo-browser

# make install [PREFIX=/usr/local] [DESTDIR=staging folder]. Installing into
# the live system also refreshes the desktop's caches, so the menu entry,
# the icon and the .orl file type are known at once.
install: optimized
	DESTDIR="$(DESTDIR)" cmake --install $(RUN_DIR) --prefix "$(PREFIX)"
	@if [ -z "$(DESTDIR)" ]; then \
	  ! command -v update-mime-database >/dev/null || update-mime-database "$(PREFIX)/share/mime"; \
	  ! command -v update-desktop-database >/dev/null || update-desktop-database -q "$(PREFIX)/share/applications"; \
	  ! command -v gtk-update-icon-cache >/dev/null || gtk-update-icon-cache -q -t -f "$(PREFIX)/share/icons/hicolor" || true; \
	fi

# Removes what the last make install (same DESTDIR) put in place.
uninstall:
	@test -f $(RUN_DIR)/install_manifest.txt || { echo "nothing installed from $(RUN_DIR)"; exit 1; }
	@while IFS= read -r f || [ -n "$$f" ]; do rm -fv "$(DESTDIR)$$f"; done < $(RUN_DIR)/install_manifest.txt
	@cd "$(DESTDIR)$(PREFIX)/share/orvo-browser" 2>/dev/null && \
	  rmdir --ignore-fail-on-non-empty "File types" help images ../orvo-browser 2>/dev/null || true
	@if [ -z "$(DESTDIR)" ]; then \
	  ! command -v update-mime-database >/dev/null || update-mime-database "$(PREFIX)/share/mime"; \
	  ! command -v update-desktop-database >/dev/null || update-desktop-database -q "$(PREFIX)/share/applications"; \
	  ! command -v gtk-update-icon-cache >/dev/null || gtk-update-icon-cache -q -t -f "$(PREFIX)/share/icons/hicolor" || true; \
	fi

# A Debian package (build/run/orvo-browser_VERSION_ARCH.deb); see
# scripts/check-package.sh for trying it on a fresh Debian.
package: optimized
	cd $(RUN_DIR) && cpack

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
