# make test   installs missing Debian packages, builds every preset, runs all tests
# make demo   builds and runs the example hosts and qorcolor-view (native, and the Windows builds under Wine)
# make bench  builds and runs the benchmarks
# make fuzz   fuzzes the colour table and NIfTI readers briefly; FUZZ_ARGS=-max_total_time=600 for longer
# make dist   writes dist/qorcolor-<version>-win64.zip
SHELL := /bin/bash
JOBS ?= 2
PACKAGES := cmake g++ make pkg-config clang libclang-rt-dev lld llvm zip libgtest-dev libgmock-dev libbenchmark-dev libpng-dev \
            mingw-w64 wine wine64 xvfb x11-utils imagemagick python3-numpy \
            zlib1g-dev libz-mingw-w64-dev python3-nibabel \
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

# The colour table reader and the viewer's NIfTI reader (with its painter and
# sizing) under libFuzzer with ASan and UBSan, each built by clang from those
# sources alone. New
# inputs go to build/fuzz/<name>-corpus; the seeds in tests/data stay as they are.
FUZZ_ARGS ?= -runs=5000
FUZZ_FLAGS := -std=c++20 -O1 -g -Wall -Wextra -Wpedantic -Werror -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all

build/fuzz/table_file_fuzz: src/canvas/color_table_reader.cpp src/canvas/color_map_reader.cpp tests/fuzz/table_file_fuzz.cpp \
  src/canvas/color_table_reader.h src/canvas/color_map_reader.h src/canvas/dib.h | deps
	mkdir -p $(@D)/table_file-corpus
	clang++ $(FUZZ_FLAGS) -Isrc $(filter %.cpp,$^) -o $@

VIEW := apps/qorcolor-view
build/fuzz/nifti_fuzz: $(VIEW)/nifti.cpp $(VIEW)/slice.cpp tests/fuzz/nifti_fuzz.cpp $(VIEW)/nifti.h $(VIEW)/slice.h \
                      include/qorcolor/datatypes.h | deps
	mkdir -p $(@D)/nifti-corpus
	clang++ $(FUZZ_FLAGS) -I$(VIEW) -Iinclude $(filter %.cpp,$^) -lz -o $@

fuzz: build/fuzz/table_file_fuzz build/fuzz/nifti_fuzz
	build/fuzz/table_file_fuzz -timeout=10 $(FUZZ_ARGS) build/fuzz/table_file-corpus tests/data/table_files
	build/fuzz/nifti_fuzz -timeout=10 -max_len=4096 $(FUZZ_ARGS) build/fuzz/nifti-corpus tests/data/nifti

# The Windows release bundle, from the windows preset's build.
dist: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)
	tools/make-dist

# The viewer runs headless on Linux: on the phantom and, when nibabel's test
# data is installed, on a real head scan.
NIBABEL_SCAN := /usr/lib/python3/dist-packages/nibabel/tests/data/anatomical.nii

demo: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS) --target demo-host qorcolor-view
	mkdir -p out
	build/linux/demo-host out
	QORCOLOR_HEADLESS=1 build/linux/qorcolor-view --out out
	if [ -f $(NIBABEL_SCAN) ]; then QORCOLOR_HEADLESS=1 build/linux/qorcolor-view --out out $(NIBABEL_SCAN); fi
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS) --target demo-host qorcolor-view
	tools/with-wine bash -c '$(WINDOWS_DEMO)'
	tools/with-wine bash -c '$(WINDOWS_VIEW)'

# Runs the Windows demo host, waits for its window and captures it whole.
WINDOWS_DEMO := "$$WINE" build/windows/demo-host.exe --hold 8 & demo=$$!; \
  for i in $$(seq 100); do id=$$(xwininfo -root -tree | awk "/\"Color Table\"/ {print \$$1; exit}"); \
    [ -n "$$id" ] && break; sleep 0.1; done; \
  sleep 2; [ -n "$$id" ] && import -window "$$id" out/windows-dialog.png && echo "wrote out/windows-dialog.png"; \
  ok=$$?; wait $$demo; exit $$ok

# Runs the Windows viewer on the phantom and captures the colour table window
# and the image window beside it (both placed from the screen's top left).
WINDOWS_VIEW := "$$WINE" build/windows/qorcolor-view.exe --seconds 8 & view=$$!; \
  for i in $$(seq 100); do geometry=$$(xwininfo -root -tree | awk "/\"qorcolor-view - / {print \$$(NF-1); exit}"); \
    [ -n "$$geometry" ] && break; sleep 0.1; done; \
  sleep 2; size=$$(echo "$$geometry" | awk -F"[x+]" "{print \$$1 + \$$3 \"x\" \$$2 + \$$4 + 20}"); \
  [ -n "$$geometry" ] && import -window root -crop "$$size+0+0" out/windows-viewer.png && echo "wrote out/windows-viewer.png"; \
  ok=$$?; wait $$view; exit $$ok

bench: deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS)
	for b in build/linux/bench/bench_*; do $$b; done

clean:
	rm -rf build out dist
