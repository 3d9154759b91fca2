# The two set-up commands of the README: `make run` and `make test`.
# Both install what is missing on a fresh Debian 12 machine, then build with CMake.

BUILD      ?= build
SAN_BUILD  ?= build-san
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
PROGRAM_DIR = $(BUILD)/Saldesk

DEB_PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
               qt6-base-dev libgl-dev libcrypt-dev fonts-ipafont-gothic fonts-ipafont-mincho \
               poppler-utils qt6-translations-l10n \
               libcurl4-openssl-dev python3-aiosmtpd

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test test-core test-san bench clean

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

# The core libraries' tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-san: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DPAYLARK_SANITIZE=ON -DPAYLARK_CORE_ONLY=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -L core

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DPAYLARK_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target paylark_bench
	$(BENCH_BUILD)/bench/paylark_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD)
