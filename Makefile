# The two set-up commands: `make run` and `make test`. Each installs what is missing first.
JOBS ?= 2
RUN_DIR := build/run
FUZZ_SECONDS ?= 60

RELEASES ?= bookworm trixie

.PHONY: run test check check-fresh build build-asan test-default test-asan bench fuzz pictures \
	video samples soak clean

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
	$(MAKE) fuzz FUZZ_SECONDS=20
	$(MAKE) test-default
	$(MAKE) test-asan

# The everyday loop: the pure and GL-context tests of the plain build, without the program-level
# tests, the fuzz smoke or the sanitizer build.
check:
	tools/install-deps.sh test
	cmake --preset default -DBUILD_TESTING=ON
	cmake --build build -j $(JOBS)
	ctest --preset default -j $(JOBS) -LE program

# Both README commands in a bare root of each release (debootstrap; as root). HALF=run stops
# after `make run`.
HALF ?= all
check-fresh:
	tools/install-deps.sh fresh
	for release in $(RELEASES); do tools/check-fresh.sh $$release $(HALF) || exit 1; done

test-default:
	cmake --preset default -DBUILD_TESTING=ON -DCHEER_BENCH=ON
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

# The bitmap reader's fuzz target, seeded with the conformance suite and the writer samples; new
# finds collect in build-fuzz/corpus.
fuzz:
	tools/install-deps.sh fuzz
	cmake --preset fuzz
	cmake --build build-fuzz -j $(JOBS) --target bitmap_reader_fuzz
	mkdir -p build-fuzz/corpus
	build-fuzz/fuzz/bitmap_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build-fuzz/corpus tests/data/bmpsuite/g tests/data/bmpsuite/q tests/data/bmpsuite/b \
		tests/data/bmpsuite/x tests/data/writers

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

clean:
	rm -rf build build-asan build-fuzz
