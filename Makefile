# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build
# with a CMake preset (PRESET=dev unless given).
PRESET ?= dev
BUILD_DIR = build/$(PRESET)
# The Windows presets cross-compile; their tests run under Wine on a desktop
# of their own (Xvfb, Openbox), with the build tree's own Wine prefix.
ON_WINDOWS = $(filter windows%,$(PRESET))
WINE_DESKTOP = scripts/wine-desktop $(BUILD_DIR)/wineprefix

.PHONY: run test package bench screenshot windows bench-windows check-format build deps clean

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

# Kalvetor.exe, the portable zip and the installer, cross-compiled:
# build/windows/window/win32/Kalvetor.exe, build/windows/Kalvetor-<version>-win64.zip
# and build/windows/Kalvetor-<version>-win64.exe.
windows: PRESET = windows
windows: build
	cd $(BUILD_DIR) && cpack

# Kalvetor.exe against the least Win32 program, under Wine; see docs/benchmarks.md.
bench-windows: PRESET = windows
bench-windows: build
	$(WINE_DESKTOP) python3 bench/win32/run_benchmarks.py $(BUILD_DIR)

# The C++ sources as .clang-format lays them out; CI fails on any difference.
check-format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	@scripts/install-deps $(if $(ON_WINDOWS),windows)

clean:
	rm -rf build
