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

.PHONY: run test package bench screenshot windows windows-package bench-windows check-format build deps clean test-debian13 test-x86

run: build
	$(BUILD_DIR)/window/qt/kalvetor

test: build
	$(if $(ON_WINDOWS),$(WINE_DESKTOP)) ctest --preset $(PRESET)

# The Debian package, built from the release preset unless PRESET is given:
# $(BUILD_DIR)/kalvetor_<version>_<arch>.deb.
package: PRESET = release
package: build
	cd $(BUILD_DIR) && cpack

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

# Kalvetor.exe against the least Win32 program, under Wine; see docs/benchmarks.md.
bench-windows: PRESET = windows
bench-windows: build
	$(WINE_DESKTOP) python3 bench/win32/run_benchmarks.py $(BUILD_DIR)

# CI's Debian 13 (trixie) leg on this machine: scripts/debian-root makes a
# fresh trixie root (as root or through sudo), clones the current commit into
# it and runs the suite there without LANG, with the ci preset, and the
# Windows suites under trixie's Wine: x64, and x86 (test-x86).
# Where this machine can make no root, the leg is skipped (status 77) and
# says why. KALVETOR_PRETEND_NO_32BIT=1 reaches the root, to try the x86
# suite's skip.
test-debian13:
	@scripts/install-deps debian-root
	scripts/debian-root trixie $(if $(KALVETOR_PRETEND_NO_32BIT),env KALVETOR_PRETEND_NO_32BIT=$(KALVETOR_PRETEND_NO_32BIT)) sh -c \
	    'make test PRESET=ci && make test PRESET=windows-ci && make test-x86' \
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
