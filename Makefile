BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test test-sanitize demo bench fuzz format clean package

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j$(JOBS)

# Every test in a build of its own (build-sanitize/, or SANITIZE_BUILD) with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer; the sanitizers' options and suppressions (tests/sanitize/) are set per test by CTest.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELKORA_SANITIZE=ON -DZELKORA_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j$(JOBS)

demo: build
	./scripts/demo $(BUILD)

bench: build
	./scripts/bench $(BUILD)

# Every fuzz target for FUZZ_SECONDS seconds (60 by default), in a clang build of its own (build-fuzz/).
fuzz: deps
	./fuzz/run

# The Debian package $(BUILD)/zelkora_<version>-1_<arch>.deb, for an install under /usr.
package: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && cpack -G DEB

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
