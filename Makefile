# Set-up, build, run and test in one place. Every target installs the Debian
# packages that are missing first, so a fresh Debian 12 machine needs nothing else.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES   := g++ make cmake ninja-build ccache pkg-config lld \
              qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev \
              fonts-liberation2 fonts-urw-base35 libbenchmark-dev \
              cups-client libcups2-dev cups poppler-utils
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
TEST_ENV   := QT_QPA_PLATFORM=offscreen QTEST_DISABLE_STACK_DUMP=1

.PHONY: all deps build run test test-asan bench walk walk-asan clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRELO_BENCH=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/tavrelo

# The window tests run twice: in C.UTF-8 and, labelled pt_BR, on a
# comma-decimal desktop. The sanitizer pass skips the second run.
test: build
	cd $(BUILD) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS)

$(BUILD_ASAN)/build.ninja: | deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRELO_SANITIZE=ON

test-asan: deps $(BUILD_ASAN)/build.ninja
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && $(TEST_ENV) ctest --output-on-failure -j $(JOBS) -LE pt_BR

# The benchmarks at 1x and then at the scale factor SCALE (2 unless told;
# SCALE=1 runs them once): the budget table at the end shows the medians of
# both runs.
SCALE     ?= 2
BENCH_ENV := QT_QPA_PLATFORM=offscreen
bench: build
ifeq ($(SCALE),1)
	$(BENCH_ENV) QT_SCALE_FACTOR=1 ./$(BUILD)/bench/tavrelo_bench
else
	$(BENCH_ENV) QT_SCALE_FACTOR=1 ./$(BUILD)/bench/tavrelo_bench --medians_out=$(BUILD)/bench-medians-1x.txt
	$(BENCH_ENV) QT_SCALE_FACTOR=$(SCALE) ./$(BUILD)/bench/tavrelo_bench --medians_in=$(BUILD)/bench-medians-1x.txt
endif

# A long random walk: make walk SEED=7,8 STEPS=50000 LOCALE=both|C|pt_BR REAL_BOXES=0|1
# (REAL_BOXES=1: the program's own message boxes, answered from inside their
# loops while the walk goes on acting). walk-asan walks in the sanitizer build.
WALK_ENV = LC_ALL=C.UTF-8 TAVRELO_WALK_SEED=$(or $(SEED),1) TAVRELO_WALK_STEPS=$(or $(STEPS),50000) \
           TAVRELO_WALK_LOCALE=$(or $(LOCALE),both) TAVRELO_WALK_REAL_BOXES=$(or $(REAL_BOXES),0)
walk: build
	cd $(BUILD) && $(TEST_ENV) $(WALK_ENV) ./tests/tst_walk longWalk

walk-asan: deps $(BUILD_ASAN)/build.ninja
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && $(TEST_ENV) ASAN_OPTIONS=detect_leaks=0 $(WALK_ENV) ./tests/tst_walk longWalk

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
