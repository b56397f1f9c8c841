# Top-level entry points: `make`, `make check`, `make demo`, `make bench`.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
BENCH_BUILD ?= build-release
JOBS        ?= 2
CMAKE_ARGS  ?=

.PHONY: all deps configure build check check-asan demo bench format clean

all: build

deps:
	./scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

# Runs every test, in the normal build and in the sanitizer build.
check: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	$(MAKE) check-asan

check-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOSPREVAN_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:use_tls=0:print_suppressions=0 ctest --output-on-failure -j$(JOBS)

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
