# Thin wrapper over the CMake presets. `make run`, `make test` and
# `make package` install whatever Debian packages are missing, configure,
# build and then run (or pack).

DEB_PACKAGES := build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-multimedia-dev libgl-dev \
  libgtest-dev libgmock-dev libgmp-dev libbenchmark-dev libtbb-dev \
  python3 xvfb xauth x11-apps imagemagick fonts-dejavu-core time xdotool \
  dpkg-dev file gzip man-db desktop-file-utils libedit-dev appstream

# CI=true (as CI sets it) makes every compiler warning of the default build
# an error.
WERROR := $(if $(filter true,$(CI)),ON,OFF)

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test asan tsan fuzz bench package screenshot format clean

all: build

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake --preset default -DLONGHAND_WERROR=$(WERROR)

build: configure
	cmake --build --preset default -j $(JOBS)

# Only the desktop program and what it links: the tests are built by `make test`.
run: configure
	cmake --build --preset program -j $(JOBS)
	./build/default/bin/longhand

test: build
	ctest --preset default -j $(JOBS)

asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The engine's and the command line's tests under ThreadSanitizer.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

# The libFuzzer targets (clang, installed when missing), each run for
# FUZZ_SECONDS seconds in turn: `make fuzz FUZZ_SECONDS=900`, or some of
# them: `make fuzz FUZZ_TARGETS="text store"`. `make fuzz FUZZ_MERGE=1`
# renews the saved corpora from what the runs found instead.
FUZZ_SECONDS ?= 60
FUZZ_MERGE ?= 0
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_MERGE=$(FUZZ_MERGE) JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_TARGETS)

bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	python3 bench/peers.py --build build/bench

# longhand_VERSION_ARCH.deb in this folder, from a build of the programs alone.
package: deps
	cmake --preset package
	cmake --build --preset package -j $(JOBS)
	rm -f build/package/longhand_*.deb
	cpack --preset package
	rm -f longhand_*.deb
	cp build/package/longhand_*.deb .

screenshot: build
	scripts/screenshot.sh

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build longhand_*.deb
