# Front door of the build. `make run` builds and starts the game,
# `make test` builds everything and runs every test.
PRESET ?= dev
BUILD   = build/$(PRESET)
JOBS   ?= $(shell nproc)

.PHONY: all setup configure build run test asan bench bench-build screenshot sprites-sheet level-sheets package install format format-check layer-check lint clean

all: build

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)/bin

test: build
	@ctest --preset $(PRESET)

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

# The Release benchmarks alone (not the tests); BENCH_ARGS go to each one.
bench-build: setup
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target benchmarks

bench: bench-build
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b" $(BENCH_ARGS) || exit 1; done

# The Debian package (build/package/tobbin_<version>_<arch>.deb) from an
# optimised build without the tests; `apt-get install ./build/package/tobbin_*.deb`.
# Debian keeps games' programs in /usr/games (they find ../share/tobbin there too).
package: setup
	@cmake --preset package -DCMAKE_INSTALL_BINDIR=games >/dev/null
	@cmake --build --preset package -j $(JOBS)
	@cd build/package && cpack -G DEB
	@ls -l build/package/tobbin_*.deb

# Installs the programs and their data below PREFIX (bin/, share/tobbin/, ...).
PREFIX ?= /usr/local
install: setup
	@cmake --preset package -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DCMAKE_INSTALL_BINDIR=bin >/dev/null
	@cmake --build --preset package -j $(JOBS)
	@cmake --install build/package

# Pictures of the main window at each tile size and of its boxes, drawn on
# the off-screen platform (no display needed), in $(BUILD)/screenshots/.
screenshot: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target tobbin tobbin_pictures tobbin_sounds tobbin_data
	@$(BUILD)/bin/tobbin --screenshot $(BUILD)/screenshots
	@echo "Screenshots written to $(BUILD)/screenshots/"

# One PNG with every tile of every sprite set at every size and the blast
# frames, to judge the pictures at a glance.
sprites-sheet: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target gen_pictures
	@$(BUILD)/tools/assets/sprites/gen_pictures --sheet $(BUILD)/sprites-sheet.png
	@echo "Contact sheet written to $(BUILD)/sprites-sheet.png"

# One PNG per shipped game with all its levels side by side and their names,
# drawn off screen with the game's own tiles, in $(BUILD)/level-sheets/.
level-sheets: configure
	@cmake --build --preset $(PRESET) -j $(JOBS) --target level_sheets
	@$(BUILD)/tools/assets/sheets/level_sheets $(BUILD)/level-sheets data/tbg/*.tbg
	@echo "Level sheets written to $(BUILD)/level-sheets/"

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails when a tracked C++ source is not formatted as .clang-format says (CI runs it).
format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

# Fails when a core folder includes one it must not use (docs/architecture.md).
layer-check:
	@bash scripts/check-layers.sh

lint: configure
	@git ls-files '*.cpp' | grep -v -e '^tests/' -e '^bench/' | xargs clang-tidy -p $(BUILD) --quiet

clean:
	@rm -rf build
