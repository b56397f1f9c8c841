# Top-level entry points: `make`, `make check`, `make demo`, `make bench`, `make fuzz`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
BENCH_BUILD ?= build-release
FUZZ_BUILD  ?= build-fuzz
JOBS        ?= 2
CMAKE_ARGS  ?=
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= import_fuzzer pdf_walk_fuzzer document_reader_fuzzer

.PHONY: all deps configure build check accuracy check-asan asan-build fuzz-build demo bench \
        fuzz fuzz-check fuzz-merge format clean

all: build

deps:
	./scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# Runs every test and the accuracy measure in the normal build, every test in the sanitizer
# build, then each fuzz target of the sanitizer build for FUZZ_SECONDS on top of the committed
# corpus and the seeds.
check: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) accuracy
	$(MAKE) check-asan
	$(MAKE) fuzz-check

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

# The fast fuzz build: libFuzzer and UndefinedBehaviorSanitizer only, optimised, with
# assertions kept. Only the fuzz targets and what makes their seeds are built.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_C_FLAGS_RELEASE="-g -O2" -DCMAKE_CXX_FLAGS_RELEASE="-g -O2" \
	  -DOSPREVAN_SANITIZE=ON -DOSPREVAN_SANITIZERS=undefined -DOSPREVAN_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target tolvane $(FUZZ_TARGETS)

# A campaign: each target in FUZZ_TARGETS for FUZZ_SECONDS in the fast build, two at a time,
# from the committed corpus (fuzz/corpus/TARGET), the seeds and what earlier runs on this machine
# learnt ($(FUZZ_BUILD)/fuzz-corpus); then everything that run learnt or found is replayed in
# the sanitizer build, and the inputs run are added to fuzz/campaign.txt.
# `make fuzz FUZZ_SECONDS=14400 FUZZ_TARGETS=import_fuzzer` runs one for four hours;
# `make fuzz-merge` then folds what it learnt into the committed corpus.
fuzz: fuzz-build asan-build
	./fuzz/make_seeds.sh $(FUZZ_BUILD) $(FUZZ_BUILD)/fuzz-seeds >/dev/null
	./fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS) $(FUZZ_TARGETS)
	$(LSAN_SETTINGS) ./fuzz/replay.sh $(ASAN_BUILD) $(FUZZ_BUILD) $(FUZZ_TARGETS)

# The fuzz targets of the sanitizer build for FUZZ_SECONDS each, as `make check` runs them.
fuzz-check: asan-build
	$(LSAN_SETTINGS) ./fuzz/make_seeds.sh $(ASAN_BUILD) $(ASAN_BUILD)/fuzz-seeds >/dev/null
	$(LSAN_SETTINGS) FUZZ_NO_TALLY=1 ./fuzz/run.sh $(ASAN_BUILD) $(FUZZ_SECONDS) $(JOBS) \
	  $(FUZZ_TARGETS)

# Folds the inputs a campaign learnt into the committed corpus, keeping only those that reach
# something the corpus does not.
fuzz-merge: fuzz-build
	./fuzz/merge.sh $(FUZZ_BUILD) $(FUZZ_TARGETS)

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
