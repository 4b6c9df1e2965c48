# The two commands a new user needs: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build into build/.

BUILD      ?= build
JOBS       ?= 2
CMAKE_GEN  := -G Ninja
FUZZ_SECONDS ?= 60
# The order in which the window suites run their tests; CI draws a new one per run.
TEST_SEED  ?= 17
# QUICK=1 leaves out the soak and the window-manager run, for a developer's quicker round.
CTEST_PICK := $(if $(QUICK),-LE 'long_use|window_manager')

.PHONY: all deps configure build run test asan bench fuzz install package clean

all: build

# Each target installs the packages of its own profile: `make run` only what builds and runs the program.
deps-%:
	@./scripts/install-deps.sh $*

deps: deps-run

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target tarvelion
	./$(BUILD)/tarvelion

# A tree that `make run` configured before GoogleTest was installed holds no tests yet: ask for them.
test: deps-test configure
	cmake -S . -B $(BUILD) -DTARVELION_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen GTEST_RANDOM_SEED=$(TEST_SEED) ctest --output-on-failure -j $(JOBS) $(CTEST_PICK)

# The whole test suite under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer; any
# report fails its test. The programs started on a virtual X display (shell_screenshot, install)
# are killed after the screenshot, so they prove a sanitized start and first paint, not leaks.
ASAN_OPTIONS_ALL := detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
asan: deps-asan
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_COMPILER=clang++ -DTARVELION_SANITIZE=ON -DTARVELION_TESTS=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen GTEST_RANDOM_SEED=$(TEST_SEED) ASAN_OPTIONS=$(ASAN_OPTIONS_ALL) \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

bench: deps-bench
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTARVELION_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	for b in build-bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b; done

# Each fuzz target for FUZZ_SECONDS seconds, starting from its seed corpus.
# Only the fuzz targets and the libraries they need are built, not the program and its tests.
FUZZ_TARGETS := fuzz_console fuzz_expression fuzz_syntax fuzz_document
fuzz: deps-fuzz
	cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DTARVELION_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	./fuzz/run-all.sh build-fuzz $(FUZZ_SECONDS)

install: build
	cmake --install $(BUILD)

# The Debian package build/package/tarvelion_<version>_<arch>.deb of what `make install` installs.
package: deps-package build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) build-asan build-bench build-fuzz
