# Two entry points for a newcomer: `make run` and `make test`.
# Both install what is missing (as root through apt-get, otherwise they print
# the exact apt-get line), then configure and build with CMake.

BUILD    ?= build
PACKAGES := g++ make cmake qt6-base-dev qt6-base-private-dev libgl-dev libgtest-dev libbenchmark-dev \
            xvfb xauth imagemagick netpbm fonts-dejavu-core fonts-liberation x11-utils xdotool xclip \
            wine wine64 gcc-mingw-w64-x86-64 clang libclang-rt-14-dev \
            desktop-file-utils appstream dpkg-dev groff-base fuse3 libfuse3-dev pkgconf \
            dosfstools fusefat exfatprogs exfat-fuse ntfs-3g
# The start-up benchmark runs the program under X with a window manager.
BENCH_PACKAGES := openbox libxcb1-dev
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 30

# `make install` installs into PREFIX (/usr/local unless given) under DESTDIR,
# through cmake --install; `make package` builds build/romdeck_VERSION_ARCH.deb.
PREFIX   ?=

.PHONY: all deps build run test test-sanitize fuzz bench install package clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y $$missing"; \
	    exit 1; \
	  fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run-demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

package: build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/romdeck_*.deb

# The same suite with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
test-sanitize: deps
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROMDECK_SANITIZE=ON >/dev/null
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS from its seeds in fuzz/corpus/.
fuzz: deps
	cmake -S . -B $(BUILD)-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DROMDECK_FUZZ=ON -DROMDECK_TESTS=OFF >/dev/null
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_targets
	fuzz/run_fuzzers.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

bench:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(BENCH_PACKAGES)"
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DROMDECK_TESTS=OFF -DROMDECK_BENCH=ON >/dev/null
	cmake --build $(BUILD)-bench -j $(JOBS)
	@echo "Benchmarks are in $(BUILD)-bench/bench/"

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-fuzz
