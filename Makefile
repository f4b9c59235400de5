# Two commands for a fresh Debian 12 machine: `make run` and `make test`;
# `make install` (PREFIX, DESTDIR as usual) puts Glyphwick on the desktop.
BUILD   ?= build
JOBS    ?= $(shell nproc)
PREFIX  ?= /usr/local
PACKAGES = build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev \
           libfontconfig-dev libcups2-dev libicu-dev libharfbuzz-dev libfreetype-dev fonts-liberation2 fonts-urw-base35 fonts-dejavu-core fonts-dejavu-extra poppler-utils \
           desktop-file-utils appstream
FUZZ_PACKAGES = clang libclang-rt-14-dev
# The benchmark's peer for printing (bench/reportlab_catalog.py); not needed to build, run or test.
BENCH_PACKAGES = python3-reportlab
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

# Times the inventory, the main window and printing on two corpora (generated
# fonts, and renamed copies of the installed ones) of 1,000, 2,500 and 10,000
# styles beside fc-list and a reportlab script (GW_BENCH_SIZES, GW_BENCH_RUNS).
# Then times the settings store on files of 0.1 to 10 MB.
bench:
	$(MAKE) deps EXTRA_PACKAGES="$(BENCH_PACKAGES)"
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHWICK_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target glyphwick-bench glyphwick-bench-settings glyphwick-bench-install
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/glyphwick-bench
	$(BUILD)/bench/glyphwick-bench-settings
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/glyphwick-bench-install

# Fuzz the file readers and the settings parser: each target runs until FUZZ_RUNS
# executions or FUZZ_SECONDS, whichever comes first, and its count is printed.
# A target whose name (without "fuzz_") names a folder of fuzz/corpus starts from
# those seeds, the others from the whole corpus.
FUZZ_SECONDS ?= 600
FUZZ_RUNS ?= 10000000
fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DGLYPHWICK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	@for t in $$(find build-fuzz/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable | sort); do \
	    n=$$(basename $$t); seeds=fuzz/corpus; \
	    [ -d fuzz/corpus/$${n#fuzz_} ] && seeds=fuzz/corpus/$${n#fuzz_}; \
	    mkdir -p build-fuzz/corpus/$$n; \
	    $$t -runs=$(FUZZ_RUNS) -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	        build-fuzz/corpus/$$n $$seeds > build-fuzz/$$n.log 2>&1 \
	        || { tail -n 60 build-fuzz/$$n.log; echo "$$n: FAILED, see build-fuzz/$$n.log"; exit 1; }; \
	    echo "$$n: $$(grep -o 'Done [0-9]* runs in [0-9]* second(s)' build-fuzz/$$n.log | tail -n 1 \
	        | sed 's/Done \([0-9]*\) runs in \([0-9]*\).*/\1 executions in \2 s/')"; \
	done

clean:
	rm -rf $(BUILD) build-fuzz
