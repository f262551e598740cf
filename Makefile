# Set-up and everyday commands. `make run` and `make test` install what is missing first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages: compiler, build tools, Qt, a Japanese font, and the virtual display and
# tools the tests use.
PACKAGES := g++ cmake ninja-build make qt6-base-dev fonts-ipafont-gothic xvfb xauth iproute2 clang-format
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps build run test sanitize format install package clean

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
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

install: build
	$(SUDO) cmake --install $(BUILD)

package: build
	cd $(BUILD) && cpack

format:
	find src tests app -name '*.cpp' -o -name '*.h' 2>/dev/null | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD)

# Speed and memory figures of this machine, printed beside their targets; nothing is asserted.
# Run as root: the bench makes a network namespace of its own, with a firewall rule inside it (nft).
BENCH_BUILD ?= build-bench
.PHONY: bench
bench: deps
	@$(MAKE) --no-print-directory deps PACKAGES=nftables
	cmake -S . -B $(BENCH_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DMILTOANNE_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target bench
