# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing, configure once and build incrementally.

BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Developers' builds stop on any warning in the project's code; a plain
# `cmake` build (a packager's) only reports it.
WARNINGS_AS_ERRORS ?= ON

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/setup.sh

# Configured again when this file changes, so a build folder made earlier
# takes up new settings too.
$(BUILD)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DFSB_WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS)
	@touch $@

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting the editor under Xvfb (screen :99)."; \
	  scripts/with-xvfb.sh $(BUILD)/src/app/skinbuilder; \
	else \
	  $(BUILD)/src/app/skinbuilder; \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target benchmarks
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
