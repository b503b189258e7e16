# Quick start: `make demo` converts the bundled sample, `make test` runs the suite.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build test demo bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(GENERATOR)
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure

demo: build
	@scripts/demo.sh $(BUILD)

bench: build
	@bench/run.sh $(BUILD)
	@bench/startup.sh $(BUILD)

clean:
	rm -rf $(BUILD)
