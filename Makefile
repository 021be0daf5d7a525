# Two entry points for a newcomer: `make run` and `make test`.
# Both install what is missing (as root through apt-get, otherwise they print
# the exact apt-get line), then configure and build with CMake.

BUILD    ?= build
PACKAGES := g++ make cmake qt6-base-dev qt6-base-private-dev libgl-dev libgtest-dev libbenchmark-dev \
            xvfb xauth imagemagick netpbm fonts-dejavu-core fonts-liberation x11-utils xdotool xclip \
            wine wine64 gcc-mingw-w64-x86-64
# The start-up benchmark runs the program under X with a window manager.
BENCH_PACKAGES := openbox libxcb1-dev
JOBS     ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test bench clean

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

bench:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(BENCH_PACKAGES)"
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DROMDECK_TESTS=OFF -DROMDECK_BENCH=ON >/dev/null
	cmake --build $(BUILD)-bench -j $(JOBS)
	@echo "Benchmarks are in $(BUILD)-bench/bench/"

clean:
	rm -rf $(BUILD) $(BUILD)-bench
