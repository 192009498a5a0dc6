# Life: the two commands for users are `make run` and `make test`.
SHELL := /bin/bash
PRESETS := native win64 win32

# The configured build files are kept, not removed as intermediates.
.SECONDARY:

.PHONY: all deps deps-hack deps-deb build test run run-x11 install deb bench dist release fuzz soak web clean

all: build

deps:
	@tools/install-deps.sh

deps-%:
	@tools/install-deps.sh $*

build/%/build.ninja:
	cmake --preset $* >/dev/null

build-%: deps build/%/build.ninja
	cmake --build --preset $*

build: $(addprefix build-,$(PRESETS))

test: deps build build-sanitize web
	@tools/run-tests.sh

run: deps build-native build-win64
	@tools/run.sh

run-x11: deps build-native
	@tools/run-x11.sh

# The XScreenSaver hack alone, with only the packages it needs: PREFIX
# (default /usr/local) and DESTDIR as usual. The layout (the hack where the
# daemon looks for hacks, the settings file and the MATE/Xfce entry, the
# face sets in share/lifefaces, the manual pages) comes from the install
# rules of lifefaces/CMakeLists.txt; under another prefix than /usr the
# install says which front ends do not look there.
PREFIX ?= /usr/local

install: deps-hack
	cmake --preset hack -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	cmake --build --preset hack
	DESTDIR=$(DESTDIR) cmake --install build/hack

# The hack's Debian package, build/deb/lifefaces_<version>_<architecture>.deb.
deb: deps-deb
	@tools/make-deb.sh

bench: deps build-native build-win64 web
	@tools/run-benchmarks.sh

dist: deps build-win64 build-win32
	@tools/make-dist.sh

# Everything a release page offers, in build/release/ (tools/make-release.sh).
release: deps
	@tools/make-release.sh

fuzz: deps build-native
	@tools/fuzz.sh

soak: deps build-native build-win64
	@tools/soak.sh

# The browser page, a static site in build/web (its CMake build in
# build/web-cmake).
build/web-cmake/build.ninja:
	cmake --preset web >/dev/null

web: deps build/web-cmake/build.ninja
	cmake --build --preset web

clean:
	rm -rf build out dist
