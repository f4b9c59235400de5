# Two commands for a fresh Debian 12 machine: `make run` and `make test`;
# `make install` (PREFIX, DESTDIR as usual) puts Glyphwick on the desktop.
BUILD   ?= build
JOBS    ?= $(shell nproc)
PREFIX  ?= /usr/local
PACKAGES = build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
           libfontconfig-dev libcups2-dev fonts-liberation2 fonts-urw-base35 poppler-utils \
           desktop-file-utils appstream
FUZZ_PACKAGES = clang libclang-rt-14-dev
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build run test install bench fuzz clean

deps:
	@missing=$$(for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -q && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/glyphwick

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Both programs, the launcher, the AppStream file, the icons, the help and the manual page.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

# Prints every installed font as two catalogs to PDF and reports the speed.
bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHWICK_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target glyphwick-bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/glyphwick-bench

# Fuzz the file readers for a bounded time (FUZZ_SECONDS per target).
FUZZ_SECONDS ?= 60
fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DGLYPHWICK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	for t in build-fuzz/fuzz/fuzz_*; do \
	    mkdir -p build-fuzz/corpus/$$(basename $$t); \
	    $$t -max_total_time=$(FUZZ_SECONDS) -max_len=65536 build-fuzz/corpus/$$(basename $$t) fuzz/corpus || exit 1; \
	done

clean:
	rm -rf $(BUILD) build-fuzz
