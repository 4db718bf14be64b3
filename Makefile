# The two commands: `make run` and `make test`. Both install what they need first.
BUILD ?= build
B := $(abspath $(BUILD))
JOBS ?= $(shell nproc)
export WINEPREFIX ?= $(B)/wineprefix

.PHONY: all deps native asan windows test run dist bench fuzz fuzz-merge check-leaks clean format

all: windows

deps:
	@tools/install-deps.sh

native: deps
	cmake -S . -B $(B)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(B)/native -j$(JOBS)

asan: deps
	cmake -S . -B $(B)/asan -DCMAKE_BUILD_TYPE=Debug -DCOIFFURE_SANITIZE=ON >/dev/null
	cmake --build $(B)/asan -j$(JOBS) --target coiffure_tests

windows: native
	cmake -S . -B $(B)/windows -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCOIFFURE_HOST_TOOLS=$(B)/native >/dev/null
	cmake --build $(B)/windows -j$(JOBS)

test: native asan windows
	cd $(B)/native && ctest --output-on-failure
	cd $(B)/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure
	cd $(B)/windows && ctest --output-on-failure

# Not part of `test`: times our hot paths against the fastest peers and a plain copy.
bench:
	@tools/install-deps.sh bench
	cmake -S . -B $(B)/bench -DCMAKE_BUILD_TYPE=Release -DCOIFFURE_BENCH=ON >/dev/null
	cmake --build $(B)/bench -j$(JOBS) --target coiffure_bench
	$(B)/bench/coiffure_bench

run: windows
	tools/run.sh $(B)

# The portable zip a salon downloads: build/dist/Coiffure-<version>-win64.zip.
dist: windows
	cd $(B)/windows && cpack -G ZIP -B $(B)/dist
	rm -rf $(B)/dist/_CPack_Packages

# Fuzzing: each libFuzzer target for FUZZ_SECONDS; `make fuzz-merge` folds new finds into the
# committed corpus. check-leaks: the native tests with LeakSanitizer, failing on any leak.
FUZZ_SECONDS ?= 180
export FUZZ_SECONDS

fuzz:
	@tools/install-deps.sh fuzz
	tools/fuzz.sh $(B) run

fuzz-merge:
	@tools/install-deps.sh fuzz
	tools/fuzz.sh $(B) merge

check-leaks: asan
	cd $(B)/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 LSAN_OPTIONS=exitcode=23 \
	  ./coiffure_tests --gtest_brief=1

clean:
	rm -rf $(B)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
