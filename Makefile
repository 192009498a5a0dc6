# Life: the two commands for users are `make run` and `make test`.
SHELL := /bin/bash
PRESETS := native win64 win32

# The configured build files are kept, not removed as intermediates.
.SECONDARY:

.PHONY: all deps build test run bench dist fuzz soak clean

all: build

deps:
	@tools/install-deps.sh

build/%/build.ninja:
	cmake --preset $* >/dev/null

build-%: deps build/%/build.ninja
	cmake --build --preset $*

build: $(addprefix build-,$(PRESETS))

test: deps build build-sanitize
	@tools/run-tests.sh

run: deps build-native build-win64
	@tools/run.sh

bench: deps build-native build-win64
	@tools/run-benchmarks.sh

dist: deps build-win64 build-win32
	@tools/make-dist.sh

fuzz: deps
	@tools/fuzz.sh

soak: deps build-native build-win64
	@tools/soak.sh

clean:
	rm -rf build out dist
