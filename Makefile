# The two set-up commands: `make run` and `make test`. Each installs what is missing first.
JOBS ?= 2
RUN_DIR := build/run
FUZZ_SECONDS ?= 60
WINDOWS_DIR := build-windows
WINDOWS_ZIP := $(WINDOWS_DIR)/cheerleaders-windows-x64.zip
WINDOWS_EXE ?=
WEB_DIR := build-web
WEB_PORT ?= 8000
# The gl4es source archive of the web build, checked by its SHA-256; without one the build
# fetches the same commit from upstream.
GL4ES_ARCHIVE ?= $(abspath $(wildcard ../shared/deps/gl4es-17f0894e.tar.gz))

RELEASES ?= bookworm trixie

.PHONY: run test check check-fresh check-fresh-package build build-asan test-default test-asan \
	bench rest-cost fuzz pictures video samples soak windows web web-icon web-serve web-budgets package \
	clean

run:
	tools/install-deps.sh run
	$(MAKE) build
	mkdir -p $(RUN_DIR)
	build/make_textures --keep-existing $(RUN_DIR)
	cd $(RUN_DIR) && ../cheerleaders

build:
	cmake --preset default -DBUILD_TESTING=OFF -DCHEER_BENCH=OFF >/dev/null
	cmake --build build -j $(JOBS) --target cheerleaders make_textures

test:
	tools/install-deps.sh bench
	tools/install-deps.sh wine
	tools/install-deps.sh package
	$(MAKE) fuzz FUZZ_SECONDS=10
	$(MAKE) windows
	$(MAKE) web WEB_OPTIONAL=1
	$(MAKE) test-default WINDOWS_EXE=$(CURDIR)/$(WINDOWS_DIR)/cheerleaders.exe \
		WEB_PAGE=$(CURDIR)/$(WEB_DIR)/cheerleaders.html
	$(MAKE) test-asan

# The everyday loop: the pure and GL-context tests of the plain build, without the program-level
# tests, the package, the fuzz smoke or the sanitizer build.
check:
	tools/install-deps.sh test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build build -j $(JOBS)
	ctest --preset default -j $(JOBS) -LE "program|package"

# Both README commands in a bare root of each release (debootstrap; as root). HALF=run stops
# after `make run`.
HALF ?= all
check-fresh:
	tools/install-deps.sh fresh
	for release in $(RELEASES); do tools/check-fresh.sh $$release $(HALF) || exit 1; done

# The package of `make package` installed with apt in a bare root of each release and started
# there from an empty directory (debootstrap; as root).
check-fresh-package: package
	tools/install-deps.sh fresh
	for release in $(RELEASES); do \
		tools/check-fresh.sh $$release package $$(ls -t cheerleaders_*_*.deb | head -1) || exit 1; \
	done

# WINDOWS_EXE, when set, adds the tests of the Windows program under Wine (label windows);
# WEB_PAGE those of the web page in headless Chromium (label web).
test-default:
	cmake --preset default -DBUILD_TESTING=ON -DCHEER_BENCH=ON -DCHEER_ICONS=ON \
		-DCHEER_WINDOWS_EXE=$(WINDOWS_EXE) -DCHEER_WEB_PAGE=$(WEB_PAGE)
	cmake --build build -j $(JOBS)
	ctest --preset default -j $(JOBS)

test-asan:
	cmake --preset asan
	cmake --build build-asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Every benchmark, run where the frame benchmark finds the program's textures.
bench:
	tools/install-deps.sh bench
	cmake --preset default -DCHEER_BENCH=ON
	cmake --build build -j $(JOBS)
	mkdir -p $(RUN_DIR)
	build/make_textures --keep-existing $(RUN_DIR)
	cd $(RUN_DIR) && ../../tests/support/with_display.sh sh -c \
		'for b in ../bench/bench_*; do "$$b" || exit 1; done'

# What the show costs when nothing in it moves: the program's share of a core paused, after the
# show and iconified, and, where make web has built the page, its frames and draw calls.
rest-cost:
	tools/install-deps.sh test
	$(MAKE) build
	tools/rest_cost.py build/cheerleaders $(dir $(wildcard $(WEB_DIR)/cheerleaders.html))

# The fuzz targets, each for FUZZ_SECONDS under AddressSanitizer and UndefinedBehaviorSanitizer:
# the bitmap reader, seeded with the conformance suite and the writer samples, and the readers of
# text from outside (the place's text, the command line, the show file), seeded with fuzz/corpus
# and the finds kept in tests/data/fuzz, on inputs up to 64 KB of which none may take a second.
# New finds collect in build-fuzz/corpus/TARGET; a broken property or a crash stops with the input
# in build-fuzz/TARGET-crash-*.
TEXT_FUZZ_TARGETS := place_query command_line show_file
fuzz:
	tools/install-deps.sh fuzz
	cmake --preset fuzz
	cmake --build build-fuzz -j $(JOBS) --target bitmap_reader_fuzz \
		$(TEXT_FUZZ_TARGETS:%=%_fuzz)
	mkdir -p $(addprefix build-fuzz/corpus/,bitmap_reader $(TEXT_FUZZ_TARGETS))
	build-fuzz/fuzz/bitmap_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=build-fuzz/bitmap_reader- build-fuzz/corpus/bitmap_reader \
		tests/data/bmpsuite/g tests/data/bmpsuite/q tests/data/bmpsuite/b tests/data/bmpsuite/x \
		tests/data/writers
	for target in $(TEXT_FUZZ_TARGETS); do \
		build-fuzz/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-max_len=65536 -timeout=1 -artifact_prefix=build-fuzz/$$target- \
			build-fuzz/corpus/$$target fuzz/corpus/$$target \
			$$(ls -d tests/data/fuzz/$$target 2>/dev/null) || exit 1; \
	done

# The README's pictures, rendered without a screen.
pictures:
	tools/install-deps.sh pictures
	cmake --preset default
	cmake --build build -j $(JOBS) --target snapshot make_textures
	tests/support/with_display.sh tools/make_pictures.sh build docs

# The whole show in motion, rendered without a screen and piped straight into ffmpeg: the README's
# animated WebP, and a 60 frames-per-second MP4 in build/video (not committed).
video:
	tools/install-deps.sh video
	cmake --preset default -DBUILD_TESTING=OFF -DCHEER_BENCH=OFF >/dev/null
	cmake --build build -j $(JOBS) --target snapshot make_textures
	tests/support/with_display.sh tools/make_video.py build --webp docs/show.webp \
		--mp4 build/video/show.mp4

# The writer samples in tests/data/writers, written again by the tools themselves.
samples:
	tools/install-deps.sh samples
	tools/make_writer_samples.sh tests/data/writers

# The long soak: 100,000 idle calls past the show, with the resident memory sampled.
soak:
	tools/install-deps.sh soak
	cmake --preset default
	cmake --build build -j $(JOBS)
	mkdir -p build/test-run
	build/make_textures --keep-existing build/test-run
	CHEERLEADERS=build/cheerleaders CHEER_TEXTURES=build/test-run CHEER_SOAK_FRAMES=100000 \
		CHEER_FRAME_COUNTER=build/tests/program/libcheer_frame_counter.so \
		python3 tests/program/soak_test.py

# The Debian package, built by dpkg-buildpackage from a copy of the sources in build/package and
# checked by lintian; the .deb is copied to the top of the checkout.
package:
	tools/install-deps.sh package
	tools/build_package.sh build/package .

# The 64-bit Windows program, cross-built with MinGW-w64 (freeglut from Debian's source package,
# linked statically), and the zip a Windows user unpacks: the .exe, the four textures the build
# host generates, README.txt and the licence.
windows:
	tools/install-deps.sh windows
	cmake --preset default -DBUILD_TESTING=OFF -DCHEER_BENCH=OFF >/dev/null
	cmake --build build -j $(JOBS) --target make_textures
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)
	rm -rf $(WINDOWS_DIR)/zip $(WINDOWS_ZIP)
	mkdir -p $(WINDOWS_DIR)/zip
	cp $(WINDOWS_DIR)/cheerleaders.exe $(WINDOWS_DIR)/zip/
	build/make_textures $(WINDOWS_DIR)/zip
	sed 's/$$/\r/' tools/windows-README.txt >$(WINDOWS_DIR)/zip/README.txt
	sed 's/$$/\r/' LICENSE >$(WINDOWS_DIR)/zip/LICENSE.txt
	cd $(WINDOWS_DIR)/zip && zip -q -X ../$(notdir $(WINDOWS_ZIP)) *
	@echo "Built $(WINDOWS_DIR)/cheerleaders.exe and $(WINDOWS_ZIP)"

# The web page in build-web/: the program built with Emscripten (cheerleaders.js and .wasm) and
# its page, which writes the four textures as it starts. With WEB_OPTIONAL set (as `make test`
# does), a missing gl4es source leaves no page, with one line, instead of failing.
# The same commit gives the same files on any machine: the web preset sets every flag itself
# (CFLAGS, CXXFLAGS and LDFLAGS are not read), and Emscripten's own settings from the environment
# (extra flags, another configuration or cache) do not reach it from here.
unexport EMCC_CFLAGS EM_CONFIG EM_CACHE
web:
	tools/install-deps.sh web
	@if ! cmake --preset web -DCHEER_GL4ES_ARCHIVE=$(GL4ES_ARCHIVE); then \
		rm -f $(WEB_DIR)/cheerleaders.html; \
		if [ -n "$(WEB_OPTIONAL)" ] && [ -z "$(GL4ES_ARCHIVE)" ]; then \
			echo "make web: no gl4es archive and no fetch from upstream: no web page to test"; \
			exit 0; \
		fi; \
		exit 1; \
	fi; \
	cmake --build --preset web -j $(JOBS) && \
	echo "Built $(WEB_DIR)/cheerleaders.html: make web-serve serves it"

# The web page's budgets in headless Chromium: sizes and hashes, the first frame, each frame's work.
web-budgets:
	test -f $(WEB_DIR)/cheerleaders.html || $(MAKE) web
	tools/web_page.py $(WEB_DIR)

# The page's icon, web/cheerleaders.png: the 48-pixel menu icon, rendered again from the drawing.
web-icon:
	tools/install-deps.sh pictures
	cmake --preset default -DCHEER_ICONS=ON >/dev/null
	cmake --build build -j $(JOBS) --target installed_data
	cp build/desktop/icons/48.png web/cheerleaders.png

# Serves build-web/ on this machine only, for a browser here.
web-serve:
	test -f $(WEB_DIR)/cheerleaders.html || $(MAKE) web
	@echo "Open http://127.0.0.1:$(WEB_PORT)/cheerleaders.html (Ctrl-C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_DIR)

clean:
	rm -rf build build-asan build-fuzz build-windows build-web
	rm -f cheerleaders_*.deb
