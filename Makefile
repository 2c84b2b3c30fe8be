# Glimt: `make run` starts the editor, `make test` runs every test (ASan + UBSan).
# Both install what is missing on a Debian machine first.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CMAKE_COMMON = -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

.PHONY: deps build run test bench fuzz clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMT_TESTS=OFF
	cmake --build build -j $(JOBS)

run: build
	./build/shell/glimt $(ARGS)

test: deps
	cmake -S . -B build-asan $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DGLIMT_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

bench: deps
	cmake -S . -B build-bench $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DGLIMT_TESTS=OFF -DGLIMT_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*_bench; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

fuzz:
	@scripts/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMT_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@for f in $$(ls build-fuzz/fuzz/*_fuzz 2>/dev/null); do echo "== $$f"; mkdir -p build-fuzz/corpus/$$(basename $$f); \
	  $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 build-fuzz/corpus/$$(basename $$f) $$(cat fuzz/$$(basename $$f).seeds 2>/dev/null | sed 's|^|../shared/testdata/|') || exit 1; done

clean:
	rm -rf build build-asan build-bench build-fuzz
