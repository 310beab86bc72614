# The two commands that do everything on a fresh Debian machine:
#   make run    installs what is missing, builds, and opens the example file in Halvern.exe under
#               Wine (without a display: renumbers it with halvern-cli)
#   make test   installs what is missing, builds, and runs every test (native and under Wine)

JOBS      ?= $(shell nproc)
NATIVE    := build/native
WINDOWS   := build/windows
BENCHDIR  := build/bench
SANITIZE  := build/sanitize
FUZZDIR   := build/fuzz
WEBBUILD  := build/web
WEBDIST   := dist/web
FUZZ_SECONDS ?= 60
FUZZ_RUNS    ?= 50000

.PHONY: all setup native windows test test-native test-windows run bench bench-window clean
.PHONY: test-sanitize test-fuzz fuzz test-large

all: native windows

setup:
	@bash scripts/setup.sh

native: setup
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(NATIVE) -j $(JOBS)

windows: setup
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	cmake --build $(WINDOWS) -j $(JOBS)

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-windows: windows
	xvfb-run -a bash scripts/wine-tests.sh $(WINDOWS)

# Everything, in this order; the last steps build the Windows download, whose zip a test then
# opens, and the Debian package of halvern-cli.
test: test-native test-sanitize test-fuzz test-windows dist deb test-web

# The native tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer; the first
# report ends the test that made it.
test-sanitize: setup
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVERN_SANITIZE=ON
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

# Every libFuzzer target for a fixed number of inputs (test-fuzz) or FUZZ_SECONDS seconds each (fuzz).
test-fuzz: setup
	JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZDIR) --runs $(FUZZ_RUNS)

fuzz: setup
	JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZDIR) --seconds $(FUZZ_SECONDS)

# The test with a document of 1 GiB alone (make test runs it too, where there is room for it).
test-large: native
	HALVERN_LARGE_TESTS=1 ctest --test-dir $(NATIVE) --output-on-failure -R large

run: native
ifneq ($(DISPLAY),)
	$(MAKE) windows
	$(WINDOWS)/wine-run $(WINDOWS)/bin/Halvern.exe examples/voorbeeld.ged
else
	@echo "Geen beeldscherm (DISPLAY is leeg): de opdrachtregelversie hernummert het voorbeeld."
	$(NATIVE)/bin/halvern-cli -t INDI -t FAM -t NOTE -t SOUR examples/voorbeeld.ged build/voorbeeld-hernummerd.ged
	@echo "Geschreven: build/voorbeeld-hernummerd.ged"
endif

bench: setup
	cmake -S . -B $(BENCHDIR) -DCMAKE_BUILD_TYPE=Release -DHALVERN_BENCH=ON
	cmake --build $(BENCHDIR) -j $(JOBS)
	bash bench/run.sh $(BENCHDIR)

# The window under Wine on generated files of 10,000 and 100,000 individuals (open, run, memory).
bench-window: native windows
	xvfb-run -a bash bench/window.sh $(WINDOWS) $(NATIVE)

# make dist: the Windows download, dist/Halvern-<version>-win64.zip. make test makes it too.
dist: windows
	bash scripts/make-dist.sh $(WINDOWS) dist

# make deb: the Debian package of halvern-cli, dist/halvern-cli_<version>_<arch>.deb (install it with
# apt install ./dist/halvern-cli_<version>_<arch>.deb). make test makes it too.
deb: native
	bash scripts/make-deb.sh $(NATIVE) dist

.PHONY: deb

# make install [PREFIX=...]: halvern-cli and its manual page (default under /usr/local).
PREFIX ?= /usr/local
install: native
	cmake --install $(NATIVE) --prefix $(PREFIX)

.PHONY: dist install

# make web: the browser page in dist/web (index.html, its script and style, and the engine in
# WebAssembly). Emscripten's emcc finds Debian's acorn through NODE_PATH.
export NODE_PATH := /usr/share/nodejs
web: setup
	emcmake cmake -S . -B $(WEBBUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEBBUILD) -j $(JOBS) --target halvern-engine
	node web/build-page.mjs $(WEBBUILD)/bin/halvern-engine.js $(WEBDIST)

# What the page's tests and benchmark run on: puppeteer-core, at the version package-lock.json names.
node_modules/.installed: package.json package-lock.json
	npm ci --no-audit --no-fund
	touch $@

# The engine's tests built with Emscripten and run under Node, then the page in headless Chromium
# (opened from dist/web, compared with halvern-cli's output for the same runs).
test-web: web native node_modules/.installed
	cmake --build $(WEBBUILD) -j $(JOBS)
	ctest --test-dir $(WEBBUILD) --output-on-failure -j $(JOBS)
	HALVERN_NATIVE=$(NATIVE) HALVERN_WEB=$(WEBDIST) node --test tests/web/

# The page in headless Chromium on a generated file of 100,000 individuals: prints how long the
# runs take in the browser.
bench-web: web native node_modules/.installed
	HALVERN_NATIVE=$(NATIVE) HALVERN_WEB=$(WEBDIST) node bench/web.mjs

# The page's pictures in docs/ (web.png, web-keuze.png), taken with headless Chromium.
web-screenshot: web node_modules/.installed
	node web/screenshot.mjs

.PHONY: web test-web bench-web web-screenshot

clean:
	rm -rf build dist
