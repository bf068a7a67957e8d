# The two commands: `make run` and `make test`. Both install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# How long `make fuzz` runs each target, in seconds.
FUZZ_SECONDS ?= 120
BENCH_PAIRS ?= 15
FUZZ_TARGETS := settings_file reading_text wave_file jpeg_image journal_restore journal_merge
JOBS       ?= $(shell nproc)
GENERATOR  := -G Ninja

# Debian packages: build, run-time fonts and translations, and the tools the
# tests drive the real program with.
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev qt6-svg-dev libjpeg-dev \
            libgtest-dev libbenchmark-dev libsqlite3-dev libsqlitecpp-dev \
            qt6-translations-l10n fonts-liberation fonts-dejavu-core \
            gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
            xvfb xauth xdotool xclip x11-utils imagemagick pulseaudio pulseaudio-utils \
            hunspell hunspell-ru clang-format libxcb1-dev linux-perf file sqlite3 poppler-utils \
            dpkg-dev desktop-file-utils appstream

# Only `make fuzz` needs these: the tests replay the corpus with g++.
FUZZ_PACKAGES := clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps fuzz-deps configure build run test test-core asan bench fuzz check-texts format package clean

all: build

deps fuzz-deps: WANTED = $(if $(filter fuzz-deps,$@),$(FUZZ_PACKAGES),$(PACKAGES))
deps fuzz-deps:
	@missing=$$(for p in $(WANTED); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/run && ./taynovid

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	      -DTAYNOVID_CORE_ONLY=ON -DTAYNOVID_SANITIZE=ON

# The toolkit-free libraries again, under AddressSanitizer and UBSan.
asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

test: build asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	cd $(BUILD) && ./bench/taynovid_bench --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
	cd $(BUILD) && ./bench/journal_bench --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
	cd $(BUILD) && ./bench/statistics_bench --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
	$(BUILD)/bench/yarrow_frequencies 1000000
	bench/startup.sh $(CURDIR)/$(BUILD)/bench/startwatch $(CURDIR)/$(BUILD)/run/taynovid \
	    $(CURDIR)/$(BUILD)/bench/taynovid_floor $(CURDIR)/$(BUILD)/run $(BENCH_PAIRS)
	bench/startup.sh $(CURDIR)/$(BUILD)/bench/startwatch $(CURDIR)/$(BUILD)/bench/taynovid_floor_content \
	    $(CURDIR)/$(BUILD)/bench/taynovid_floor $(CURDIR)/$(BUILD)/run $(BENCH_PAIRS)
	bench/profile.sh $(CURDIR)/$(BUILD)/bench/startwatch $(CURDIR)/$(BUILD)/run/taynovid \
	    $(CURDIR)/$(BUILD)/bench/taynovid_floor $(CURDIR)/$(BUILD)/run

$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAYNOVID_FUZZ=ON

# Each parser under libFuzzer with AddressSanitizer and UBSan for
# FUZZ_SECONDS. New inputs gather in $(FUZZ_BUILD)/corpus/<target>; a fault
# leaves its input in $(FUZZ_BUILD)/findings/<target>/, which belongs in
# fuzz/regressions/<target>/ once understood.
fuzz: deps fuzz-deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/findings/$$t && \
	  dict=$$([ -f fuzz/$$t.dict ] && echo -dict=fuzz/$$t.dict); \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$dict \
	      -artifact_prefix=$(FUZZ_BUILD)/findings/$$t/ \
	      $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# A Debian package in build/, checked by lintian where it is installed.
package: build
	cd $(BUILD) && cpack -G DEB
	@if command -v lintian >/dev/null; then lintian --info $(BUILD)/taynovid_*.deb || true; fi

check-texts: deps
	tools/check-texts

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
