# The front door: every command installs what is missing first.
SHELL := /bin/bash
.DEFAULT_GOAL := help

JOBS ?= $(shell nproc)
ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DQUARIX_SANITIZE=ON
else
BUILD_DIR ?= build
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
ifeq ($(CI),true)
CMAKE_FLAGS += -DQUARIX_WERROR=ON
endif

SAMPLE := samples/shop.accdb
PREFIX ?= /usr/local

.PHONY: help deps configure build run test bench screenshots format fuzz clean install package

help:
	@echo "make run          build and open Quarix on $(SAMPLE)"
	@echo "make test         build and run every test (SANITIZE=1 for ASan/UBSan)"
	@echo "make bench        build and run the benchmarks"
	@echo "make screenshots  save screenshots under docs/screenshots/"
	@echo "make fuzz         run each fuzz target FUZZ_SECONDS (60) seconds"
	@echo "make format       clang-format the sources"
	@echo "make install      build and install under PREFIX ($(PREFIX)); DESTDIR is honoured"
	@echo "make package      build the Debian package (in $(BUILD_DIR)/packages/)"

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display found; try 'xvfb-run -a make run', or without a window: $(BUILD_DIR)/app/quarix-cli search $(SAMPLE) Customers City Contains lon"; \
	  exit 1; fi
	@$(BUILD_DIR)/app/quarix $(SAMPLE)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

# Built as the user; only the copy runs with sudo, when the prefix is not
# the user's to write. The desktop's type and menu caches of the prefix are
# refreshed, as the package's triggers do for /usr.
install: build
	@set -e; target="$(DESTDIR)$(PREFIX)"; while [ ! -e "$$target" ]; do target=$$(dirname "$$target"); done; \
	sudo=""; if [ ! -w "$$target" ] && [ "$$(id -u)" -ne 0 ]; then sudo=sudo; fi; \
	$$sudo env DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"; \
	if [ -n "$$sudo" ]; then sudo chown "$$(id -u):$$(id -g)" $(BUILD_DIR)/install_manifest.txt; fi; \
	if [ -z "$(DESTDIR)" ]; then \
	  $$sudo update-mime-database "$(PREFIX)/share/mime"; \
	  $$sudo update-desktop-database "$(PREFIX)/share/applications"; fi

package: build
	@if [ "$(SANITIZE)" = 1 ]; then echo "make package: not from a sanitizer build"; exit 1; fi
	@cd $(BUILD_DIR) && cpack --config CPackConfig.cmake >/dev/null
	@ls $(BUILD_DIR)/packages/*.deb

screenshots: build
	@scripts/take-screenshots $(BUILD_DIR)

format: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-fuzz

# Each fuzz target runs FUZZ_SECONDS seconds (build-fuzz, clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	@scripts/run-fuzz $(FUZZ_SECONDS)
