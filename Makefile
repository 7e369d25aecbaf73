# Set-up, build and test in one place. `make run ARGS="sich anziehen"`, `make test`.
# Every Debian package the build, the tests and the tools use; `make deps` installs the missing ones.
PACKAGES := build-essential cmake pkg-config libgtest-dev libgmock-dev libicu-dev zlib1g-dev python3 \
  qt6-base-dev qt6-webengine-dev libqt6svg6 xvfb xauth dbus dbus-x11 \
  libboost-dev nginx wrk chromium libbenchmark-dev clang libclang-rt-14-dev \
  wngerman python3-jsonschema jq time \
  pybind11-dev python3-dev python3-pytest rapidjson-dev scdoc bash-completion man-db \
  dpkg-dev file clang-format git

BUILD_DIR ?= build
# The sanitizer build that `make test` runs as well, and the libFuzzer build of `make fuzz`.
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
# The tree of the Debian package, configured for the system prefix /usr.
PACKAGE_DIR ?= build-deb
FUZZ_TARGETS ?= forms verblists settings textfile page request
SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench clean asan fuzz package format format-check

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

# configure and build install nothing: `make deps` does, and run and test call it first.
configure:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBEUGWERK_BENCH=OFF

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds only the program it runs, so a first run does not wait for the tests. ARGS reaches the
# program split at blanks and nothing else: apostrophes, quotes and parentheses stay as typed
# (ARGS="'übersetzen", ARGS="(sich) waschen"), since the phrase's markers use them.
run: export BEUGWERK_RUN_ARGS = $(value ARGS)
run: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target beugwerk
	@set -f; "$(abspath $(BUILD_DIR))/beugwerk" $$BEUGWERK_RUN_ARGS

test: deps format-check build asan
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -R '^(engine|generator|app|common|fuzz)_'

# AddressSanitizer + UndefinedBehaviorSanitizer over the library tests and the fuzz corpora.
asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DBEUGWERK_SANITIZE=ON -DBEUGWERK_GUI=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS) --target beugwerk_library_tests

# Each fuzz target for SECONDS seconds: `make fuzz SECONDS=600 FUZZ_TARGETS=forms`. New inputs
# go to $(FUZZ_DIR)/corpus, crashes to $(FUZZ_DIR)/findings; tests/fuzz/corpus holds the seeds
# and every finding, which the tests replay.
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DBEUGWERK_FUZZ=ON -DBEUGWERK_GUI=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target beugwerk_fuzzers
	@mkdir -p $(FUZZ_DIR)/findings
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	  echo "fuzz_$$t: $(SECONDS) s"; \
	  ./$(FUZZ_DIR)/tests/fuzz/fuzz_$$t -max_total_time=$(SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/findings/$$t- $(FUZZ_DIR)/corpus/$$t tests/fuzz/corpus/$$t \
	    || exit 1; \
	done

# The benchmarks (bench/, Google Benchmark) and the whole-process timing of a full-form list.
# BENCH_ARGS go to the benchmark program (--benchmark_filter=TxfRecord).
bench: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBEUGWERK_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target beugwerk_bench beugwerk
	./$(BUILD_DIR)/bench/beugwerk_bench $(BENCH_ARGS)
	bench/fullforms.sh --beugwerk $(BUILD_DIR)/beugwerk

# The Debian package $(PACKAGE_DIR)/beugwerk_<version>_<arch>.deb. A tree of its own: the
# programs look for the verb lists under the prefix they were built for, here /usr. The
# library and the Python module are not in the package, so the module is not built.
package: deps
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DBEUGWERK_TESTS=OFF -DBEUGWERK_BENCH=OFF -DBEUGWERK_PYTHON=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB
	@ls $(PACKAGE_DIR)/beugwerk_*.deb

# The C++ sources in the repository's .clang-format style: `make format` rewrites them,
# `make format-check` (part of `make test`) fails on any drift and names the files.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)
format:
	clang-format -i $(FORMAT_FILES)

format-check:
	@clang-format --dry-run -Werror $(FORMAT_FILES) 2>&1 | \
	  grep -oE '^[^ :]+:[0-9]+:[0-9]+: error' | cut -d: -f1 | sort -u | \
	  sed 's/$$/: not formatted (make format)/' | { ! grep .; }

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR)
