# Top-level entry points: `make`, `make check`, `make demo`, `make bench`, `make fuzz`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
BENCH_BUILD ?= build-release
JOBS        ?= 2
CMAKE_ARGS  ?=
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= import_fuzzer pdf_walk_fuzzer document_reader_fuzzer

.PHONY: all deps configure build check accuracy check-asan asan-build demo bench fuzz format clean

all: build

deps:
	./scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# Runs every test and the accuracy measure in the normal build, every test in the sanitizer
# build, then each fuzz target for FUZZ_SECONDS on top of its seeds.
check: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) accuracy
	$(MAKE) check-asan
	$(MAKE) fuzz

# Where review comments from several PDF writers land when the normal build imports them
# (docs/accuracy.md); fails on any comment changed at a wrong place without a flag, or lost.
accuracy: build
	/usr/bin/python3 tests/accuracy/scoring_test.py
	/usr/bin/python3 tests/accuracy/pdfjs_writer_test.py
	/usr/bin/python3 tests/accuracy/accuracy.py --build $(BUILD)

# The sanitizer build is clang's, so that the fuzz targets are built in it with libFuzzer; -O1
# keeps assertions and debugging information and runs the tests and the fuzzers several times
# faster than -O0.
asan-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DOSPREVAN_SANITIZE=ON -DOSPREVAN_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)

LSAN_SETTINGS = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:use_tls=0:print_suppressions=0

check-asan: asan-build
	cd $(ASAN_BUILD) && $(LSAN_SETTINGS) ctest --output-on-failure -j$(JOBS)

# Each target in FUZZ_TARGETS for FUZZ_SECONDS, two at a time, on its corpus in
# $(ASAN_BUILD)/fuzz-corpus (kept between runs) and the seeds; findings go to
# $(ASAN_BUILD)/fuzz-findings. `make fuzz FUZZ_SECONDS=14400 FUZZ_TARGETS=import_fuzzer` runs
# one for four hours.
fuzz: asan-build
	$(LSAN_SETTINGS) ./fuzz/make_seeds.sh $(ASAN_BUILD) $(ASAN_BUILD)/fuzz-seeds >/dev/null
	$(LSAN_SETTINGS) ./fuzz/run.sh $(ASAN_BUILD) $(FUZZ_SECONDS) $(JOBS) $(FUZZ_TARGETS)

demo: build
	./examples/demo.sh $(BUILD)

# Times the import of long reviewed documents beside pdftotext, in a Release build of its own.
$(BENCH_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

bench: deps $(BENCH_BUILD)/CMakeCache.txt
	cmake --build $(BENCH_BUILD) -j$(JOBS) --target tolvane
	./scripts/bench.sh $(BENCH_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
