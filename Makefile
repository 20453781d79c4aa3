# The two commands of the README are `make run` and `make test`; the rest are
# for maintainers. Every target installs what it needs first.

BUILD      ?= build
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

.PHONY: all deps test-deps build run test bench check-sanitize fuzz soak check-memory package check-package clean

all: build

deps:
	@scripts/install-deps.sh build

test-deps:
	@scripts/install-deps.sh test

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd data && ../$(BUILD)/pelorin

test: test-deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300

bench: test-deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	scripts/with-display.sh scripts/bench.sh $(BUILD)

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
check-sanitize: test-deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	scripts/with-display.sh ctest --test-dir build-sanitize --output-on-failure -j $(JOBS) --timeout 600

fuzz:
	@scripts/install-deps.sh fuzz
	scripts/fuzz.sh

soak: test-deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	scripts/soak.sh $(BUILD) 600

check-memory:
	@scripts/install-deps.sh memory
	scripts/check-memory.sh

# The Debian package (build-package/pelorin_VERSION_ARCH.deb), checked by lintian.
package:
	@scripts/install-deps.sh package
	scripts/package.sh

# Builds the package, installs it, plays it once under Xvfb, removes it again.
# Installs system-wide: run it on a machine where that is welcome.
check-package:
	@scripts/install-deps.sh package test
	scripts/check-package.sh

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz build-package
