BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test demo bench format clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j$(JOBS)

demo: build
	./scripts/demo $(BUILD)

bench: build
	./scripts/bench $(BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
