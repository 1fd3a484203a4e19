# The two commands of the README:
#   make demo   builds the Linux tree and renders a spoken sentence through Brelvane into out/
#   make test   builds the Linux, sanitizer and Windows trees and runs every test in each
.PHONY: test demo deps build-% test-% clean

PRESETS := linux linux-asan windows

deps:
	./scripts/install-deps

build-%: deps
	cmake --preset $* >/dev/null
	cmake --build --preset $*

test-%: build-%
	ctest --preset $*

# Runs every tree even when an earlier one fails, then fails if any did.
test: deps
	@failed=""; \
	for p in $(PRESETS); do \
	  echo "=== $$p ==="; \
	  $(MAKE) --no-print-directory test-$$p || failed="$$failed $$p"; \
	done; \
	if [ -n "$$failed" ]; then echo "FAILED trees:$$failed"; exit 1; fi; \
	echo "All trees passed: $(PRESETS)"

demo:
	./scripts/demo

clean:
	rm -rf build out
