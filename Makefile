# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build
# with a CMake preset (PRESET=dev unless given).
PRESET ?= dev
BUILD_DIR = build/$(PRESET)
# The Windows presets cross-compile, for x64 (windows, windows-ci) or x86
# (windows-x86, windows-x86-ci); their tests run under Wine on a desktop of
# their own (Xvfb, Openbox), with the build tree's own Wine prefix. The x86
# tests need the 32-bit Wine as well.
ON_WINDOWS = $(filter windows%,$(PRESET))
WINDOWS_DEPS = $(if $(filter windows-x86-ci,$(PRESET)),windows-x86,windows)
WINE_DESKTOP = scripts/wine-desktop $(BUILD_DIR)/wineprefix

.PHONY: run test package check-package dist bench screenshot windows windows-package bench-windows web bench-web check-format build deps clean test-debian13 test-x86 test-debian12-package

run: build
	$(BUILD_DIR)/window/qt/kalvetor

test: build
	$(if $(ON_WINDOWS),$(WINE_DESKTOP)) ctest --preset $(PRESET)

# The Debian source package and the .deb files, built by dpkg-buildpackage
# from the current commit (not from uncommitted changes) into build/debian/.
package:
	@scripts/install-deps package
	scripts/debian-package build/debian

# The package checked as a distribution checks it, on this machine (meant
# for a fresh root, as in test-debian13): lintian, hardening-check, its
# files, and installed, its autopkgtest, then purged.
check-package: package
	scripts/check-package build/debian

# Every package of this version in dist/ with SHA256SUMS (scripts/dist):
# the sources, the Debian source package and .deb, and both architectures'
# Windows programs, installers, zips and MSIs, and the web edition's zip:
# DIST_WEB is its make target and the zip that target leaves.
DIST_WEB = web build/dev/kalvetor-web-*.zip
dist: package windows
	scripts/dist $(DIST_WEB)

# Start-up, selection and memory against bare Qt programs, on the release
# preset on a virtual X display of their own (no window manager); see
# docs/benchmarks.md.
bench: PRESET = release
bench: build
	KALVETOR_SCREEN=1024x768x24 scripts/x-desktop --no-window-manager python3 bench/run_benchmarks.py $(BUILD_DIR)

# The README's screenshot, docs/screenshot.png: this build's window as a real
# X window under Openbox with the third name chosen, marked with the digest
# of what it shows (a test checks that the picture is current).
screenshot: build
	scripts/x-desktop sh window/qt/tests/check_real_window.sh $(BUILD_DIR)/window/qt/kalvetor docs/screenshot.png
	python3 scripts/screenshot.py stamp docs/screenshot.png

# Kalvetor.exe and its packages for each architecture, cross-compiled:
# build/windows/ for x64 and build/windows-x86/ for x86, each with
# window/win32/Kalvetor.exe, the portable Kalvetor-<version>-<arch>.zip, the
# installer Kalvetor-<version>-<arch>.exe and the Windows Installer package
# Kalvetor-<version>-<arch>.msi.
windows:
	$(MAKE) --no-print-directory windows-package PRESET=windows
	$(MAKE) --no-print-directory windows-package PRESET=windows-x86

# One architecture's packages, from the windows or windows-x86 preset.
windows-package: build
	cd $(BUILD_DIR) && cpack

# The web edition, from the dev preset unless PRESET is given:
# $(BUILD_DIR)/window/web/site/kalvetor.html, the single page, beside
# kalvetor-web/, the folder to host, and $(BUILD_DIR)/kalvetor-web-<version>.zip
# of that folder.
web: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) --target web

# The web page's first contentful paint against a bare page without a
# script, in Chromium and Firefox; see docs/benchmarks.md.
bench-web: PRESET = release
bench-web: web
	node bench/web/run_benchmark.mjs $(BUILD_DIR)/window/web/site

# Kalvetor.exe against the least Win32 program, under Wine; see docs/benchmarks.md.
bench-windows: PRESET = windows
bench-windows: build
	$(WINE_DESKTOP) python3 bench/win32/run_benchmarks.py $(BUILD_DIR)

# CI's Debian 13 (trixie) leg on this machine: scripts/debian-root makes a
# fresh trixie root (as root or through sudo), clones the current commit into
# it and runs the suite there without LANG, with the ci preset, and the
# Windows suites under trixie's Wine: x64, and x86 (test-x86); then trixie's
# package, built and checked there as `make check-package` checks it.
# Where this machine can make no root, the leg is skipped (status 77) and
# says why. KALVETOR_PRETEND_NO_32BIT=1 reaches the root, to try the x86
# suite's skip.
test-debian13:
	@scripts/install-deps debian-root
	scripts/debian-root trixie $(if $(KALVETOR_PRETEND_NO_32BIT),env KALVETOR_PRETEND_NO_32BIT=$(KALVETOR_PRETEND_NO_32BIT)) sh -c \
	    'make test PRESET=ci && make test PRESET=windows-ci && make test-x86 && make check-package' \
	    || [ $$? -eq 77 ]

# The x86 Windows suite under the 32-bit Wine, where this machine runs 32-bit
# programs (scripts/runs-32bit); elsewhere the x86 build alone, and why the
# suite was skipped.
test-x86:
	@scripts/install-deps windows-x86
	@if reason=$$(scripts/runs-32bit); then \
	    $(MAKE) --no-print-directory test PRESET=windows-x86-ci; \
	else \
	    $(MAKE) --no-print-directory build PRESET=windows-x86-ci && \
	    echo "x86 suite skipped: $$reason"; \
	fi

# The package of Debian 12 (bookworm) in a fresh root of its own: built
# there, checked as `make check-package` checks it, installed, tested and
# purged, then built twice more by reprotest and compared (Debian 13's is
# checked in test-debian13's root). Skipped (status 77), saying why, where
# this machine can make no root.
test-debian12-package:
	@scripts/install-deps debian-root
	scripts/debian-root bookworm sh -c 'make check-package && scripts/check-reproducible deb' \
	    || [ $$? -eq 77 ]

# The C++ sources as .clang-format lays them out; CI fails on any difference.
check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	@scripts/install-deps $(if $(ON_WINDOWS),$(WINDOWS_DEPS))

clean:
	rm -rf build
