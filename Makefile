# The two commands of the README:
#   make demo   builds the Linux tree and renders a spoken sentence through Brelvane into out/
#   make test   builds the Linux, sanitizer (address, thread) and Windows trees and runs every test in each,
#               then every fuzz target for a short while, then makes the release archives and checks them
.PHONY: test demo deps build-% test-% bench fuzz fuzz-build lint artwork clean install install-user uninstall package

PRESETS := linux linux-asan linux-tsan windows

deps:
	./scripts/install-deps

build-%: deps
	cmake --preset $* >/dev/null
	cmake --build --preset $*

test-%: build-%
	ctest --preset $*

# Runs every tree even when an earlier one fails, then fails if any did. The fuzz run is a
# short one, from the committed corpus: enough for a parser that breaks on its own chunks and
# texts, or just beside them, to fail the tests.
TEST_FUZZ_SECONDS ?= 30
test: deps
	@failed=""; \
	for p in $(PRESETS); do \
	  echo "=== $$p ==="; \
	  $(MAKE) --no-print-directory test-$$p || failed="$$failed $$p"; \
	done; \
	echo "=== fuzz ==="; \
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS) || failed="$$failed fuzz"; \
	echo "=== package ==="; \
	{ $(MAKE) --no-print-directory package && ./scripts/check-package; } || failed="$$failed package"; \
	if [ -n "$$failed" ]; then echo "FAILED trees:$$failed"; exit 1; fi; \
	echo "All trees passed: $(PRESETS) fuzz package"

demo:
	./scripts/demo

# Installing what the Linux tree builds: `make install` under PREFIX (and DESTDIR when set),
# `make install-user` into one user's own folders without root, `make uninstall` removes both.
# install-user asks for no root: it builds with the packages already on the machine.
PREFIX ?= /usr/local
INSTALLED := brelvane BrelvaneVST2 BrelvaneVST3Bundle BrelvaneCLAP BrelvaneLV2Bundle brelvane_manpage
define build-installed
	cmake --preset linux >/dev/null
	cmake --build --preset linux --target $(INSTALLED)
endef

install: deps
	$(build-installed)
	DESTDIR="$(DESTDIR)" ./scripts/install system "$(PREFIX)"

install-user:
	$(build-installed)
	./scripts/install user

uninstall:
	./scripts/install uninstall

# The release archives in build/packages/: the Debian package and the Windows zip.
package: deps
	$(build-installed)
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target BrelvaneVST2 BrelvaneVST3Bundle BrelvaneCLAP
	./scripts/package

# Speed figures (not part of the tests): the engine alone and the module through a host,
# next to a peer look-ahead limiter; the blits next to pixman's composite.
bench:
	./scripts/install-deps --bench
	cmake --preset linux >/dev/null
	cmake --build --preset linux
	build/linux/bench/engine/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	build/linux/bench/engine/math_accuracy
	build/linux/bench/adapters/module_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	build/linux/bench/raster/raster_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	build/linux/bench/editor/editor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# A few minutes of fuzzing of every parser of outside data (clang's libFuzzer).
FUZZ_SECONDS ?= 60
fuzz-build:
	./scripts/install-deps --fuzz
	cmake --preset fuzz >/dev/null
	cmake --build build/fuzz --target fuzzers

fuzz: fuzz-build
	./scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# Redraws the editor's images into resources/img/ with the cairo artwork tool, and the same
# drawings at twice the resolution into resources/img/2x/ (Linux only; not part of the build or
# the tests). The output is the same on every run; commit what changes.
artwork:
	./scripts/install-deps --artwork
	cmake -S tools/artwork -B build/artwork -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build build/artwork
	build/artwork/brel_artwork .
	build/artwork/brel_artwork . --scale 2

# clang-tidy's fault-finding checks (.clang-tidy) over every source of ours in the Linux tree
# (the artwork tool is a project of its own, outside that tree).
lint: build-linux
	git ls-files '*.cpp' | grep -v -E '^(third_party|tests|fuzz|bench|tools/artwork)/' | \
	  xargs -P 2 -n 8 clang-tidy -p build/linux --quiet

clean:
	rm -rf build out
