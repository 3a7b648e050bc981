# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build
# with a CMake preset (PRESET=dev unless given).
PRESET ?= dev
BUILD_DIR = build/$(PRESET)

.PHONY: run test package bench build deps clean

run: build
	$(BUILD_DIR)/window/qt/kalvetor

test: build
	ctest --preset $(PRESET)

# The Debian package, built from the release preset unless PRESET is given:
# $(BUILD_DIR)/kalvetor_<version>_<arch>.deb.
package: PRESET = release
package: build
	cd $(BUILD_DIR) && cpack

# Start-up, selection and memory against bare Qt programs, on the release
# preset under Xvfb; see docs/benchmarks.md.
bench: PRESET = release
bench: build
	xvfb-run -a -s "-screen 0 1024x768x24" python3 bench/run_benchmarks.py $(BUILD_DIR)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	@scripts/install-deps

clean:
	rm -rf build
