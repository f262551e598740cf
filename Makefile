# Set-up and everyday commands. `make run` and `make test` install what is missing first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages: compiler, build tools, Qt and its Japanese translations, libsodium (the sealing
# of paired copies' datagrams) with pkg-config to find it, a Japanese font, and the virtual display,
# Wayland compositor and Qt's Wayland plugin, message bus, session-management library, packet
# capture and tools the tests use.
PACKAGES := g++ cmake ninja-build make pkg-config qt6-base-dev qt6-translations-l10n libsodium-dev \
	fonts-ipafont-gothic xvfb xauth weston qt6-wayland dbus-daemon iproute2 tcpdump clang-format clang-tidy \
	desktop-file-utils libsm-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps build run test sanitize format format-check werror install package package-check clean

deps:
	@missing=""; for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/miltoanne

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DMILTOANNE_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

install: build
	$(SUDO) cmake --install $(BUILD)

# The .deb and its -dbgsym .ddeb; dpkg-shlibdeps (dpkg-dev) and file work out its dependencies.
package: build
	@$(MAKE) --no-print-directory deps PACKAGES="dpkg-dev file binutils"
	rm -f $(BUILD)/miltoanne*.deb $(BUILD)/miltoanne*.ddeb
	cd $(BUILD) && cpack

# The package as Debian's own checks see it: any lintian error fails the target.
package-check: package
	@$(MAKE) --no-print-directory deps PACKAGES="lintian desktop-file-utils"
	desktop-file-validate data/miltoanne.desktop
	lintian --allow-root --fail-on error --display-info $(BUILD)/miltoanne_*.deb \
		$$(ls $(BUILD)/miltoanne-dbgsym_*.ddeb 2>/dev/null)

# Every C++ source of the project, for clang-format.
FORMAT_FILES = $(shell find src tests bench fuzz -name '*.cpp' -o -name '*.h')

format:
	clang-format -i $(FORMAT_FILES)

# Fails when a file differs from what `make format` would make of it.
format-check: deps
	clang-format --dry-run --Werror $(FORMAT_FILES)

# The whole build, tests included, with every warning an error, in its own folder.
WERROR_BUILD ?= build-werror
werror: deps
	cmake -S . -B $(WERROR_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
	cmake --build $(WERROR_BUILD) -j $(JOBS)

# clang-tidy with the checks in .clang-tidy over every C++ source of src/, tests/, bench/ and fuzz/;
# any finding fails. Its folder is configured with clang and with the bench and the fuzzers on, so
# that every source has a compile command (the fuzzers configure only with clang), and then nothing
# is compiled. The tests that include their own .moc get it straight from moc: CMake's autogen
# targets would first build every library the test links.
TIDY_BUILD ?= build-tidy
.PHONY: tidy
tidy: deps
	@$(MAKE) --no-print-directory deps PACKAGES="clang-14 libclang-rt-14-dev"
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(TIDY_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMILTOANNE_TESTS=ON -DMILTOANNE_BENCH=ON -DMILTOANNE_FUZZ=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
	@moc="$$(qtpaths6 --query QT_HOST_LIBEXECS)/moc"; mkdir -p $(TIDY_BUILD)/tidy-moc; \
	for f in $$(grep -rl --include='*.cpp' '^#include ".*\.moc"' src tests bench fuzz); do \
		for m in $$(sed -n 's/^#include "\(.*\.moc\)"$$/\1/p' $$f); do \
			"$$moc" -o $(TIDY_BUILD)/tidy-moc/$$m $$f || exit 1; \
		done; \
	done
	run-clang-tidy -p $(TIDY_BUILD) -j $(JOBS) -quiet -extra-arg=-I$(CURDIR)/$(TIDY_BUILD)/tidy-moc \
		'^$(CURDIR)/(src|tests|bench|fuzz)/'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WERROR_BUILD) $(TIDY_BUILD)

# Speed and memory figures of this machine, printed beside their targets; nothing is asserted.
# Run as root: the bench makes a network namespace of its own, with a firewall rule inside it (nft).
BENCH_BUILD ?= build-bench
.PHONY: bench
bench: deps
	@$(MAKE) --no-print-directory deps PACKAGES=nftables
	cmake -S . -B $(BENCH_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DMILTOANNE_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target bench

# libFuzzer targets (fuzz/), built with clang and the sanitizers into their own folder. Each runs
# for FUZZ_SECONDS from its seeds in fuzz/corpus/ (what it learns stays in $(FUZZ_BUILD)/corpus/);
# an input that breaks one is copied into fuzz/found/<fuzzer>/ and the target fails.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS := fuzz_datagram fuzz_optfile fuzz_adrfile fuzz_session fuzz_sealed
.PHONY: fuzz
fuzz: deps
	@$(MAKE) --no-print-directory deps PACKAGES="clang-14 libclang-rt-14-dev"
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMILTOANNE_FUZZ=ON -DMILTOANNE_TESTS=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZERS)
	@failed=0; for f in $(FUZZERS); do \
		rm -rf $(FUZZ_BUILD)/artifacts/$$f; mkdir -p $(FUZZ_BUILD)/artifacts/$$f $(FUZZ_BUILD)/corpus/$$f; \
		echo "== $$f, $(FUZZ_SECONDS) s"; \
		QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 $(FUZZ_BUILD)/fuzz/$$f \
			-max_total_time=$(FUZZ_SECONDS) -timeout=25 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/artifacts/$$f/ $(FUZZ_BUILD)/corpus/$$f fuzz/corpus/$$f || failed=1; \
		for a in $(FUZZ_BUILD)/artifacts/$$f/*; do \
			[ -f "$$a" ] || continue; \
			mkdir -p fuzz/found/$$f && cp "$$a" fuzz/found/$$f/ && echo "FOUND: fuzz/found/$$f/$${a##*/}"; \
			failed=1; \
		done; \
	done; \
	if [ $$failed -ne 0 ]; then echo "make fuzz: a fuzzer found a fault (see fuzz/found/)"; exit 1; fi
