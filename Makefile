# Two commands: `make play` and `make test`. Both install missing Debian packages first: `make
# play` only what building and playing needs, `make test` also what the tests need. `make play`
# builds only the game and its level tools; `make test` builds everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local
DEB_DIR    ?= ../binhopper-deb
DEPS       ?= play
# What the sanitized tests run: the game, the tools the simulator and end-to-end tests call, and
# the unit tests (the media generator and the benchmark serve only the data checks and bench),
# and the library that lets the leak checker see into the graphics driver.
ASAN_TARGETS = binhopper binhopper-sim binhopper-level levelshot padshot drawcheck textcheck xclose binhopper_tests \
  save-loop keep-libraries-loaded

.PHONY: play game test deps build asan bench fuzz clean install deb

play: game
	./$(BUILD)/binhopper

# The game and its level tools (CMake's target `game`), without the tests, benchmarks and
# authors' tools. The compiler's output goes to a log, shown whole only when the build fails.
GAME_LOG = $(BUILD)/game-build.log
game: deps
	@echo "Compiling the game and its level tools into $(BUILD)/ (a first build takes minutes; log: $(GAME_LOG))"
	@mkdir -p $(BUILD)
	@{ cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build $(BUILD) -j$(JOBS) --target game; } \
	  > $(GAME_LOG) 2>&1 || { cat $(GAME_LOG); echo "The build failed; its output is above and in $(GAME_LOG)."; exit 1; }

test asan: DEPS = test
# The sanitized build runs everything but the data checks, which test committed files, not
# code, and the soak and limits, which measure memory and speed that the sanitizer inflates. The
# thread sanitizer's test builds its own program, so it runs once, in the sanitizers' half.
test: build asan
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE tsan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS) -LE data -E '^sim\.(soak|limits)$$'

deps:
	@scripts/install-deps $(DEPS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The game, its tools and the tests again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer; -O1 keeps the simulator and end-to-end runs quick.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DBINHOPPER_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target $(ASAN_TARGETS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz

# Simulator speed and per-frame update and draw times of the shipped levels.
bench: build
	scripts/bench $(BUILD)

# Every fuzz target for FUZZ_SECONDS (default 60) each; fails on any crash, leak or timeout.
fuzz: DEPS = test
fuzz: deps
	scripts/fuzz

# The game, its data and its desktop files under $(PREFIX) (sudo may be needed for /usr/local).
install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian packages binhopper and binhopper-data, built by dpkg-buildpackage from a copy of the
# tree, into $(DEB_DIR) (outside the tree); DEB_BUILD_OPTIONS=nocheck skips the unit tests.
deb:
	scripts/build-deb $(DEB_DIR)
