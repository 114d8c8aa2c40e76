# The two set-up commands: `make run` and `make test`. Each installs what is missing first.
JOBS ?= 2
RUN_DIR := build/run

.PHONY: run test build build-asan test-default test-asan bench fuzz clean

run:
	tools/install-deps.sh run
	$(MAKE) build
	mkdir -p $(RUN_DIR)
	cd $(RUN_DIR) && ../cheerleaders

build:
	cmake --preset default -DBUILD_TESTING=OFF -DCHEER_BENCH=OFF >/dev/null
	cmake --build build -j $(JOBS) --target cheerleaders

test:
	tools/install-deps.sh bench
	$(MAKE) test-default
	$(MAKE) test-asan

test-default:
	cmake --preset default -DBUILD_TESTING=ON -DCHEER_BENCH=ON
	cmake --build build -j $(JOBS)
	ctest --preset default -j $(JOBS)

test-asan:
	cmake --preset asan
	cmake --build build-asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench:
	tools/install-deps.sh bench
	cmake --preset default -DCHEER_BENCH=ON
	cmake --build build -j $(JOBS)
	tests/support/with_display.sh sh -c 'for b in build/bench/bench_*; do "$$b"; done'

clean:
	rm -rf build build-asan build-fuzz
