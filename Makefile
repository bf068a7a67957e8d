# The two commands: `make run` and `make test`. Both install what is missing.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
GENERATOR  := -G Ninja

# Debian packages: build, run-time fonts and translations, and the tools the
# tests drive the real program with.
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev libjpeg-dev \
            libgtest-dev libbenchmark-dev qt6-translations-l10n fonts-liberation fonts-dejavu-core \
            gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
            xvfb xauth xdotool xclip x11-utils imagemagick pulseaudio pulseaudio-utils \
            hunspell hunspell-ru clang-format \
            dpkg-dev desktop-file-utils appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test test-core asan bench check-texts format package clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
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
	cd $(BUILD) && ./bench/taynovid_bench
	bench/startup.sh $(CURDIR)/$(BUILD)/run/taynovid $(CURDIR)/$(BUILD)/run

# A Debian package in build/, checked by lintian where it is installed.
package: build
	cd $(BUILD) && cpack -G DEB
	@if command -v lintian >/dev/null; then lintian --info $(BUILD)/taynovid_*.deb || true; fi

check-texts: deps
	tools/check-texts

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
