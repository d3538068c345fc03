# Wavelot: the two commands that matter are `make run` and `make test`.
# Each installs what is missing (Debian packages), configures and builds.

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_format fuzz_series fuzz_axis fuzz_transmission fuzz_series_types
# targets run without libFuzzer's leak check: the axis target's paints grow Qt's
# font caches, so the check would rescan the heap after many inputs (it ran
# about 25 % slower with it); the other targets lose nothing measurable by it
FUZZ_NO_LEAK_CHECK := fuzz_axis
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# ccache when the machine has it: rebuilds of the sanitizer and fuzz trees are then cheap
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test test-asan bench fuzz fuzz-build ci deps build screenshot gallery gallery-screenshots clean

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/wavelot

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

bench: deps
	@scripts/install-deps libqcustomplot-dev qt6-charts-dev libqt6opengl6-dev
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DWAVELOT_BUILD_BENCH=ON \
	  -DWAVELOT_BENCH_REQUIRE_PEERS=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# libFuzzer targets under ASan and UBSan, each run FUZZ_SECONDS from its seed
# corpus (fuzz/corpus/<name>, kept small in the tree); what a run learns goes
# to $(FUZZ_BUILD)/corpus, findings to $(FUZZ_BUILD)/findings.
fuzz-build: deps
	@scripts/install-deps clang libclang-rt-14-dev  # the fuzzer and sanitizer runtimes are only recommended by clang
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DWAVELOT_BUILD_FUZZ=ON -DWAVELOT_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/findings
	@for t in $(FUZZ_TARGETS); do \
	  name=$${t#fuzz_}; mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  leaks=1; case " $(FUZZ_NO_LEAK_CHECK) " in *" $$t "*) leaks=0;; esac; \
	  echo "== $$t, $(FUZZ_SECONDS) s"; \
	  QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) \
	    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -detect_leaks=$$leaks \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$name- \
	    $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

ci:
	.ci/run

screenshot: build
	mkdir -p $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/wavelot-screenshot $(BUILD)/screenshots
	@ls $(BUILD)/screenshots/*.png

gallery: build
	./$(BUILD)/wavelot-gallery

# one picture per gallery entry, flat and 3D, and a contact sheet of them all
gallery-screenshots: build
	mkdir -p $(BUILD)/gallery
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/wavelot-gallery-screenshots $(BUILD)/gallery
	@ls $(BUILD)/gallery/*.png | wc -l

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
