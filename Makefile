# The two commands a newcomer needs: `make run` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
STRESS_SEEDS ?= 20
STRESS_STEPS ?= 5000

.PHONY: all deps build run test build-asan test-asan fuzz stress bench package package-check clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

# Starts the editor; FILE=name.str opens a structogram at start-up.
run: build
	./$(BUILD)/struktogramme $(FILE)

test: build
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTRUKT_SANITIZE=ON -DSTRUKT_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir $(ASAN_BUILD) --output-on-failure --no-tests=error -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each, built with clang's libFuzzer under ASan and UBSan.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTRUKT_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/run-fuzzers.sh $(CURDIR)/$(FUZZ_BUILD) $(FUZZ_SECONDS)

# Random editing through the windows for STRESS_SEEDS seeds of STRESS_STEPS steps, under the
# sanitizers.
stress: build-asan
	for seed in $$(seq 1 $(STRESS_SEEDS)); do \
	  echo "== Startwert $$seed"; \
	  QT_QPA_PLATFORM=offscreen STRUKT_RANDOM_SEED=$$seed STRUKT_RANDOM_STEPS=$(STRESS_STEPS) \
	  STRUKT_TRANSLATIONS=$(CURDIR)/$(ASAN_BUILD)/translations \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ./$(ASAN_BUILD)/tests/ui/random_editing_test || exit 1; \
	done

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

# The Debian package, made by CPack from the build above for /usr (binaries stripped), copied
# into the repository's root as struktogramme_<version>_amd64.deb.
package: build
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(BUILD) -j $(JOBS)
	rm -rf $(BUILD)/package
	cd $(BUILD) && cpack -B package
	cp $(BUILD)/package/*.deb .

# lintian, the package's files, and the installed program (installed with apt, then removed).
package-check: package
	bash scripts/check-package.sh $(BUILD)/package/*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
