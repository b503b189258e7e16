# Quick start: `make demo` converts the bundled sample, `make test` runs the suite.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build test demo bench clean package package-check windows clean-windows

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
	@bench/irview_startup.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# The Debian package: $(BUILD)/sonabrix_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# The package installed with apt-get --no-install-recommends into a minimal
# Debian root (debootstrap) and sonabrix started there on a private X
# server until its window paints. Needs root (sudo otherwise) and a Debian
# mirror; the root is kept in $(BUILD)/package-root for the next run.
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
package-check: package
	$(SUDO) packaging/minimal_root_test.sh "$$(ls -t $(BUILD)/sonabrix_*.deb | head -n 1)" $(BUILD)/package-root

# The converters for Windows (MinGW-w64, static): $(WINDOWS_BUILD)/bin/*.exe.
# The Wine tests in `make test` build them the same way when they are missing.
WINDOWS_BUILD ?= build-windows
windows: deps
	cmake -DSOURCE_DIR=$(CURDIR) -DBINARY_DIR=$(CURDIR)/$(WINDOWS_BUILD) \
	  $(if $(GENERATOR),-DGENERATOR=Ninja) -P cmake/build_windows.cmake

clean-windows:
	rm -rf $(WINDOWS_BUILD)

# The fuzz harnesses and the sanitizer run of the suite, each in a build
# folder of its own: `make fuzz FUZZ_SECONDS=20` for a short run.
.PHONY: fuzz test-sanitize
FUZZ_SECONDS ?= 60

fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh build-fuzz

test-sanitize: deps
	@scripts/test-sanitize.sh build-sanitize
