# Two commands: `make play` and `make test`. Both install missing Debian packages first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)

.PHONY: play test deps build asan bench fuzz clean

play: build
	./$(BUILD)/binhopper

test: build asan
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBINHOPPER_SANITIZE=ON -DBINHOPPER_UNIT_ONLY=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz

# Simulator speed and per-frame update and draw times of the shipped levels.
bench: build
	scripts/bench $(BUILD)

# Every fuzz target for FUZZ_SECONDS (default 60) each; fails on any crash, leak or timeout.
fuzz: deps
	scripts/fuzz
