# The two commands that do everything on a fresh Debian machine: `make run` and `make test`.
BUILD_DIR ?= build
# Optimised with debug information unless asked otherwise (BUILD_TYPE=Debug, or a
# -DCMAKE_BUILD_TYPE in CMAKE_FLAGS, which comes later and wins).
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?= -DARX_WERROR=ON
JOBS ?= 2
# Prefixes every test run, for example TEST_LOCK="flock /tmp/arx-net.lock" on a machine
# where others run socket tests on the same loopback subnets.
TEST_LOCK ?=

# ccache when the machine has it; builds work the same without it.
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CONFIGURE = cmake -S . -G Ninja $(LAUNCHER)

# The sanitizer builds: folders of their own, warnings as errors, every finding fatal.
ASAN_DIR ?= build-asan
TSAN_DIR ?= build-tsan
SANITIZE_FLAGS = -O1 -g -fno-omit-frame-pointer
SUPPRESSIONS = $(CURDIR)/scripts/sanitizers
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	LSAN_OPTIONS=suppressions=$(SUPPRESSIONS)/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
TSAN_ENV = TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(SUPPRESSIONS)/tsan.supp

.PHONY: all deps configure build run test bench package sanitize sanitize-asan sanitize-tsan fuzz \
	fuzz-reply fuzz-preset fuzz-command fuzz-roomfile clean

all: build

deps:
	@scripts/install-deps

# Configures every time: cheap when nothing changed, and an existing folder picks up the
# build type.
configure: deps
	$(CONFIGURE) -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	scripts/run-demo $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen $(TEST_LOCK) ctest --output-on-failure -j $(JOBS)

bench: build
	scripts/run-benchmarks $(BUILD_DIR)

# build/arx_<version>_<architecture>.deb, to install with apt install ./build/arx_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

sanitize: sanitize-asan sanitize-tsan

# The whole suite under AddressSanitizer (with leak checks) and UndefinedBehaviorSanitizer;
# the short fuzz run is left out, as it is a sanitizer build of its own.
sanitize-asan: deps
	$(CONFIGURE) -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE= -DARX_WERROR=ON \
		-DARX_BUILD_BENCHMARKS=OFF -DARX_PACKAGE_TEST=OFF \
		"-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS) -fsanitize=address,undefined -fno-sanitize-recover=undefined" \
		"-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && $(ASAN_ENV) QT_QPA_PLATFORM=offscreen \
		$(TEST_LOCK) ctest --output-on-failure -j $(JOBS) -LE fuzz

# The tests of the Qt-free core that run a second thread, under ThreadSanitizer (Debian's
# Qt is not built for it, so widget tests would only show races inside Qt's own locking).
sanitize-tsan: deps
	$(CONFIGURE) -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE= -DARX_WERROR=ON \
		-DARX_BUILD_BENCHMARKS=OFF -DARX_PACKAGE_TEST=OFF \
		"-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS) -fsanitize=thread" \
		"-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread"
	cmake --build $(TSAN_DIR) -j $(JOBS) --target arx_thread_tests
	cd $(TSAN_DIR) && $(TSAN_ENV) $(TEST_LOCK) ctest --output-on-failure -j $(JOBS) -L threads

FUZZ_SECONDS ?= 600
# Each target for FUZZ_SECONDS; `make fuzz` runs them one after the other.
fuzz: fuzz-reply fuzz-preset fuzz-command fuzz-roomfile

fuzz-reply: deps
	scripts/fuzz reply $(FUZZ_SECONDS)

fuzz-preset: deps
	scripts/fuzz preset $(FUZZ_SECONDS)

fuzz-command: deps
	scripts/fuzz command $(FUZZ_SECONDS)

fuzz-roomfile: deps
	scripts/fuzz roomfile $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(TSAN_DIR)
