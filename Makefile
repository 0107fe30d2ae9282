# Two commands for a new user: `make demo` and `make test`.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

DEB_PACKAGES := cmake g++ make pkg-config \
	qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev \
	libgtest-dev libgmock-dev libbenchmark-dev \
	libsdl2-dev liblo-dev librtmidi-dev libjack-jackd2-dev jackd2 fonts-dejavu-core xvfb xauth imagemagick valgrind \
	dpkg-dev file librsvg2-bin \
	blender openbox xdotool
BENCH_PACKAGES := libpugixml-dev libtinyxml2-dev zlib1g-dev libssl-dev libmuparser-dev \
	qt6-tools-dev

.PHONY: deps bench-deps configure build test demo pictures install package bench fuzz asan asan-ci clean blender

define install_missing
	@missing=""; \
	for p in $(1); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "installing:$$missing"; \
		sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
		$$sudo apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing >/dev/null; \
	fi
endef

deps:
	$(call install_missing,$(DEB_PACKAGES))

bench-deps: deps
	$(call install_missing,$(BENCH_PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	$(BUILD)/stage/quorvane/bin/quorvane-host --demo --output demo-output

# The pictures of the README and the guides, taken by the demo offscreen and copied into docs/;
# the remote controls' input settings are pictured by their test, with a private JACK server.
# The demo runs in a home of its own: windows open where a first start puts them, not where
# the last user of this account left them.
pictures: build
	rm -rf $(BUILD)/pictures-home && mkdir -p $(BUILD)/pictures-home
	env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME=$(abspath $(BUILD))/pictures-home \
		$(BUILD)/stage/quorvane/bin/quorvane-host --demo --output demo-output >/dev/null
	cp demo-output/main_dialog.png demo-output/host_window.png demo-output/config_window.png \
		demo-output/config_window_small.png demo-output/config_window_large.png \
		demo-output/input_settings.png demo-output/bind_prompt.png \
		demo-output/advanced_settings.png demo-output/message_box.png demo-output/about.png docs/
	env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen QVN_PICTURE_DIR=$(CURDIR)/docs \
		$(BUILD)/tests/inputconfig/test_inputconfig --gtest_filter='RemoteBindingsTest.*' >/dev/null

# The Blender adaptor: its module, the add-on zip and the quorvane-blender launcher.
blender: build
	cmake --build $(BUILD) --target blender_zip
	@echo "add-on: $(BUILD)/quorvane-blender-addon.zip; start: $(BUILD)/stage/quorvane/bin/quorvane-blender"

# Installs under PREFIX in the layout the core finds by itself (see README).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (dependencies read from the binaries by dpkg-shlibdeps) in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

# Every benchmark, then the idle cost of the hosts; the goals come again as the last lines.
bench: build
	@rm -f $(BUILD)/bench/goals.txt
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; QVN_GOALS=$(abspath $(BUILD))/bench/goals.txt $$b; done
	@echo "== bench/idle/run_idle"; bench/idle/run_idle $(BUILD)/stage | tee -a $(BUILD)/bench/goals.txt
	@echo "== goals"; grep -h "goal m" $(BUILD)/bench/goals.txt

# libFuzzer builds of every fuzz target (clang), in their own build folder.
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVN_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target $$(cd fuzz && for d in */; do printf 'fuzz_%s ' $${d%/}; done)
	@echo "run e.g.: build-fuzz/fuzz/xml/fuzz_xml fuzz/xml/corpus"

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
# Too slow for every CI run, so not part of `make test`. Leaks are
# forgiven only inside system libraries (tests/sanitizers/leaks.supp).
ASAN_BUILD ?= build-asan
SANITIZER_ENV := \
	ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/leaks.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVN_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# A sanitizer subset meant to run in CI after `make test` once its time there is known: the
# test programs of the areas where a freed object is most easily used again (windows that
# outlive their tool, recording and its timers, reloading the core library, the XML model),
# built and run under the sanitizers.
ASAN_CI_TESTS := test_xml test_recording test_inputconfig test_windows test_instances \
	test_profiles test_core_cycles
empty :=
space := $(empty) $(empty)
asan-ci: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVN_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(ASAN_CI_TESTS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) \
		-L '^($(subst $(space),|,$(ASAN_CI_TESTS)))$$'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) demo-output
