# Two commands on a fresh Debian 12 machine: `make demo` and `make test`.
MAKEFLAGS += --no-print-directory
BUILD := build
CMAKE_FLAGS := -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: build deps prefixes test demo bench clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j2

prefixes: deps
	@scripts/wine-prefixes.sh

test: build prefixes
	@scripts/with-wineserver.sh ctest --test-dir $(BUILD) --output-on-failure

demo: build prefixes
	@scripts/with-wineserver.sh scripts/demo.sh

bench: build prefixes
	@scripts/with-wineserver.sh scripts/bench.sh

clean:
	rm -rf $(BUILD)
