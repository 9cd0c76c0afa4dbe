# `make run` builds and starts the game; `make test` builds and runs every
# test headless, once plainly and once with the address and undefined
# behaviour sanitizers and, for the tests that run threads, once with the
# thread sanitizer, then fuzzes every parser of outside input (`make
# fuzz`, 30 s per target or FUZZ_SECONDS). `make install` installs the game
# under PREFIX (default /usr/local) and `make package` builds its Debian
# package in build/release. All install missing Debian packages first.

JOBS ?= 2
PREFIX ?= /usr/local
HEADLESS = ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"
# The tests that run threads (async events, sockets, HTTP, streamed tunes),
# built and run once more with the thread sanitizer.
THREADED_TESTS = framework_test network_test greeting_test audio_device_test
THREADED_CASES = ^AsyncEvents\.|AsyncQueue\.|Socket|DataBuffer\.|Http|^Greeting\.|^MusicTest\.|^SampleTest\.LoaderThread

.PHONY: run test fuzz deps release install package

deps:
	@tools/install-deps.sh

run: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release --target vantaroo -j $(JOBS)
	./build/release/vantaroo

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release --target installable -j $(JOBS)

install: release
	cmake --install build/release --strip --prefix "$(PREFIX)"

package: release
	cd build/release && cpack -G DEB

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/test -j $(JOBS)
	cd build/test && $(HEADLESS) ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTAROO_SANITIZE=ON
	cmake --build build/sanitize -j $(JOBS)
	cd build/sanitize && $(HEADLESS) ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTAROO_TSAN=ON
	cmake --build build/tsan --target $(THREADED_TESTS) -j $(JOBS)
	cd build/tsan && TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan/suppressions.txt" \
		$(HEADLESS) ctest --output-on-failure -j $(JOBS) -R '$(THREADED_CASES)'
	JOBS=$(JOBS) tests/fuzz/run

fuzz: deps
	JOBS=$(JOBS) tests/fuzz/run
