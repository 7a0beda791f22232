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

# Static checks, and any finding fails: clang-format over every tracked source, then clang-tidy (.clang-tidy) over
# the sources of src/ and tools/ and their headers (LINT_DIRS='src|tools|tests' takes the tests in as well, at
# twice the time). Its compile commands come from a clang configuration of its own (build-lint/, or LINT_BUILD) in
# which only Qt's generated headers are made; the generated sources themselves are not checked. `make -k lint` runs
# clang-tidy even when the format check fails.
LINT_BUILD ?= build-lint
LINT_DIRS ?= src|tools
LINT_SOURCES := '^$(CURDIR)/($(LINT_DIRS))/'
.PHONY: lint lint-format lint-tidy
lint: lint-format lint-tidy

lint-format: deps
	clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

lint-tidy: deps
	cmake -S . -B $(LINT_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DZELKORA_BUILD_BENCH=OFF \
	    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON -DCMAKE_AUTOGEN_ORIGIN_DEPENDS=OFF
	cmake --build $(LINT_BUILD) --target autogen -j$(JOBS)
	run-clang-tidy -quiet -j$(JOBS) -p $(LINT_BUILD) -header-filter=$(LINT_SOURCES) $(LINT_SOURCES)

clean:
	rm -rf $(BUILD)
