# `make run` and `make test` (the README's `./setup run` / `./setup test` install make first, then run these).
# Both install what is missing on a fresh Debian 12 machine, then build with CMake.

BUILD      ?= build
SAN_BUILD  ?= build-san
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = year_file settings rate_tables knm entry
JOBS       ?= $(shell nproc)
PROGRAM_DIR = $(BUILD)/Saldesk

DEB_PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
               qt6-base-dev libgl-dev libcrypt-dev fonts-ipafont-gothic fonts-ipafont-mincho \
               poppler-utils cmark-gfm lintian dpkg-dev file qt6-translations-l10n \
               libcurl4-openssl-dev python3-aiosmtpd libsqlite3-dev \
               clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test test-core test-san fuzz-build test-fuzz fuzz bench package clean

deps:
	@missing=""; \
	for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/tools/saldesk-cli selfcheck --program-dir $(PROGRAM_DIR)
	cd $(PROGRAM_DIR) && ./Saldesk

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-san
	$(MAKE) test-fuzz
	$(MAKE) package

# The Debian package, checked with lintian: any error or warning fails the target, except the
# tags kept on purpose in packaging/lintian-suppress (each with its reason). Remaining notes (I:):
# hardening-no-fortify-functions (the build's own flags, -O2 without _FORTIFY_SOURCE) and
# binary-has-unneeded-section (.comment).
package: build
	rm -f $(BUILD)/paylark_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning --suppress-tags-from-file packaging/lintian-suppress $(BUILD)/paylark_*.deb

# The core libraries' tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-san: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DPAYLARK_SANITIZE=ON -DPAYLARK_CORE_ONLY=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -L core

# The fuzz targets (clang, libFuzzer, ASan, UBSan) built and run a fixed number of times on their
# seed corpora: bounded time, fails on a finding.
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAYLARK_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

test-fuzz: fuzz-build
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS) -L fuzz

# Every fuzz target for FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=3600), one after the other;
# the corpora grow in $(FUZZ_BUILD)/fuzz/corpus/, findings are kept in the current folder.
fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  bash fuzz/run_fuzzer.sh $(FUZZ_BUILD)/fuzz/fuzz_$$t $(FUZZ_BUILD)/fuzz/seeds/$$t time $(FUZZ_SECONDS) \
	    $(FUZZ_BUILD)/fuzz/corpus/$$t || exit 1; \
	done

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DPAYLARK_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target paylark_bench
	# The repetitions of the benchmarks take turns at random, so that a busy disk on a shared
	# machine slows the save and its raw-write baseline alike and their ratio stays a measurement.
	$(BENCH_BUILD)/bench/paylark_bench --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true \
	  --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
