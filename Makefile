# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build
# with a CMake preset (PRESET=dev unless given).
PRESET ?= dev
BUILD_DIR := build/$(PRESET)

.PHONY: run test build deps clean

run: build
	$(BUILD_DIR)/window/kalvetor

test: build
	ctest --preset $(PRESET)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

deps:
	@scripts/install-deps

clean:
	rm -rf build
