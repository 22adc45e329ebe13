# The two commands that do everything on a fresh Debian machine: `make run` and `make test`.
BUILD_DIR ?= build
CMAKE_FLAGS ?= -DARX_WERROR=ON
JOBS ?= 2

.PHONY: all deps configure build run test bench fuzz fuzz-reply fuzz-preset package clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	scripts/run-demo $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	scripts/run-benchmarks $(BUILD_DIR)

# build/arx_<version>_<architecture>.deb, to install with apt install ./build/arx_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

FUZZ_SECONDS ?= 600
# Each target for FUZZ_SECONDS; `make fuzz` runs them one after the other.
fuzz: fuzz-reply fuzz-preset

fuzz-reply: deps
	scripts/fuzz reply $(FUZZ_SECONDS)

fuzz-preset: deps
	scripts/fuzz preset $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR)
