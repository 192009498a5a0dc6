# Life: the two commands for users are `make run` and `make test`.
SHELL := /bin/bash
PRESETS := native win64 win32

# The configured build files are kept, not removed as intermediates.
.SECONDARY:

.PHONY: all deps build test run run-x11 install bench dist fuzz soak clean

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

run-x11: deps build-native
	@tools/run-x11.sh

# The XScreenSaver hack: PREFIX (default /usr/local) and DESTDIR as usual.
# The hack goes where the daemon looks for hacks, the settings file where
# xscreensaver-settings finds it, the face sets to share/lifefaces.
PREFIX ?= /usr/local
HACKDIR ?= $(PREFIX)/libexec/xscreensaver
CONFIGDIR ?= $(PREFIX)/share/xscreensaver/config
DATADIR ?= $(PREFIX)/share/lifefaces

install: build-native
	install -D -m 755 build/native/bin/lifefaces $(DESTDIR)$(HACKDIR)/lifefaces
	install -D -m 644 lifefaces/lifefaces.xml $(DESTDIR)$(CONFIGDIR)/lifefaces.xml
	install -d $(DESTDIR)$(DATADIR)
	install -m 644 assets/life.nfo assets/*.bmp $(DESTDIR)$(DATADIR)/

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
