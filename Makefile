# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing, configure once and build incrementally, with
# the CMake presets of CMakePresets.json (`dev` here, in build/).

JOBS ?= $(shell nproc)
# Developers' builds stop on any warning in the project's code (the `dev`
# preset's default); `make WARNINGS_AS_ERRORS=OFF` only reports them.
WARNINGS_AS_ERRORS ?= ON
# Seconds each fuzz target runs for under `make fuzz`.
FUZZ_SECONDS ?= 30
export FUZZ_SECONDS

.PHONY: all deps deps-run deps-all configure build run test bench asan-test lint fuzz clean install

all: build

# What each task needs, installed where missing: `run` the editor's build,
# `deps` (the default) the tests' tools too, `deps-all` clang for lint and fuzz.
deps:
	@bash scripts/setup.sh test

deps-run:
	@bash scripts/setup.sh run

deps-all:
	@bash scripts/setup.sh all

# Configured again when this file, the presets or WARNINGS_AS_ERRORS change,
# so a build folder made earlier takes up new settings too.
build/build.ninja: Makefile CMakePresets.json build/.werror-$(WARNINGS_AS_ERRORS) | deps-run
	cmake --preset dev -DFSB_WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS)
	@touch $@

build-asan/build.ninja: Makefile CMakePresets.json build-asan/.werror-$(WARNINGS_AS_ERRORS) | deps
	cmake --preset asan -DFSB_WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS)
	@touch $@

# One stamp per folder names the WARNINGS_AS_ERRORS it was configured with;
# kept, not deleted as an intermediate file.
.PRECIOUS: build/.werror-% build-asan/.werror-%
%/.werror-$(WARNINGS_AS_ERRORS):
	@mkdir -p $* && rm -f $*/.werror-* && touch $@

configure: build/build.ninja

build: deps configure
	cmake --build --preset dev -j $(JOBS)

# Only the editor: a newcomer's first `make run` need not wait for the tests.
run: deps-run configure
	cmake --build --preset dev -j $(JOBS) --target skinbuilder
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting the editor on a private Xvfb screen."; \
	  scripts/with-xvfb.sh build/src/app/skinbuilder; \
	else \
	  build/src/app/skinbuilder; \
	fi

test: build
	ctest --preset dev -j $(JOBS)

# Everything, tests included, under AddressSanitizer and UBSan in build-asan/.
asan-test: deps build-asan/build.ninja
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: build
	cmake --build --preset dev --target benchmarks
	@for b in build/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] && { "$$b" || exit 1; }; done; true

# clang-tidy reads build/compile_commands.json and the files Qt's tools
# generate, so the dev build comes first.
lint: deps-all build
	bash scripts/lint.sh

fuzz: deps-all
	bash fuzz/run.sh

clean:
	rm -rf build build-asan build-release

# `make install PREFIX=/usr DESTDIR=/tmp/stage`: the programs with their
# desktop entry, icons, MIME type, metainfo, thumbnailer and man pages.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"
