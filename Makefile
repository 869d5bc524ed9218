# make test   installs missing Debian packages, builds every preset, runs all tests
# make demo   builds and runs the demo host (native, and the Windows build under Wine)
# make bench  builds and runs the benchmarks
# make dist   writes dist/qorcolor-<version>-win64.zip
SHELL := /bin/bash
JOBS ?= 2
PACKAGES := cmake g++ make pkg-config clang lld llvm zip libgtest-dev libgmock-dev libbenchmark-dev libpng-dev \
            mingw-w64 wine wine64 xvfb x11-utils imagemagick python3-numpy

.PHONY: deps test test-linux test-asan test-windows dist demo bench clean

deps:
	@tools/install-packages $(PACKAGES)

test: deps test-linux test-asan test-windows dist

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
