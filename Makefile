# make test   installs missing Debian packages, builds every preset, runs all tests
# make demo   builds and runs the demo host (native, and the Windows build under Wine)
# make bench  builds and runs the benchmarks
# make fuzz   fuzzes the colour table reader briefly; FUZZ_ARGS=-max_total_time=600 for longer
# make dist   writes dist/qorcolor-<version>-win64.zip
SHELL := /bin/bash
JOBS ?= 2
PACKAGES := cmake g++ make pkg-config clang libclang-rt-dev lld llvm zip libgtest-dev libgmock-dev libbenchmark-dev libpng-dev \
            mingw-w64 wine wine64 xvfb x11-utils imagemagick python3-numpy \
            libgtk-3-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core xdotool

.PHONY: deps test test-linux test-asan test-windows fuzz dist demo bench clean

deps:
	@tools/install-packages $(PACKAGES)

test: deps test-linux test-asan fuzz test-windows dist

test-linux:
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS)
	ctest --preset linux -j$(JOBS)

test-asan:
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j$(JOBS)
	ctest --preset asan -j$(JOBS)

test-windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)
	tools/with-wine ctest --preset windows

# The colour table reader under libFuzzer with ASan and UBSan, built by
# clang from the reader's source alone. New inputs it finds go to
# build/fuzz/corpus; the seeds in tests/data/table_files stay as they are.
FUZZ_BIN := build/fuzz/table_file_fuzz
FUZZ_SOURCES := src/canvas/color_table_reader.cpp tests/fuzz/table_file_fuzz.cpp
FUZZ_ARGS ?= -runs=5000

$(FUZZ_BIN): $(FUZZ_SOURCES) src/canvas/color_table_reader.h src/canvas/dib.h | deps
	mkdir -p $(@D)/corpus
	clang++ -std=c++20 -O1 -g -Wall -Wextra -Wpedantic -Werror -fsanitize=fuzzer,address,undefined \
	  -fno-sanitize-recover=all -Isrc $(FUZZ_SOURCES) -o $@

fuzz: $(FUZZ_BIN)
	$(FUZZ_BIN) -timeout=10 $(FUZZ_ARGS) build/fuzz/corpus tests/data/table_files

# The Windows release bundle, from the windows preset's build.
dist: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)
	tools/make-dist

demo: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS) --target demo-host
	mkdir -p out
	build/linux/demo-host out
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS) --target demo-host
	tools/with-wine bash -c '$(WINDOWS_DEMO)'

# Runs the Windows demo host, waits for its window and captures it whole.
WINDOWS_DEMO := "$$WINE" build/windows/demo-host.exe --hold 8 & demo=$$!; \
  for i in $$(seq 100); do id=$$(xwininfo -root -tree | awk "/\"Color Table\"/ {print \$$1; exit}"); \
    [ -n "$$id" ] && break; sleep 0.1; done; \
  sleep 2; [ -n "$$id" ] && import -window "$$id" out/windows-dialog.png && echo "wrote out/windows-dialog.png"; \
  ok=$$?; wait $$demo; exit $$ok

bench: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS)
	for b in build/linux/bench/bench_*; do $$b; done

clean:
	rm -rf build out dist
