# The two commands of the README: `make run` and `make test`.
PRESET ?= default
BUILD  := $(if $(filter asan,$(PRESET)),build-asan,build)
# CI turns warnings into errors.
WERROR := $(if $(CI),ON,OFF)

.PHONY: run test bench build deps demo

# Started in the demo folder, so "開く" opens where the demo's lyrics are.
run: build demo
	cd $(BUILD)/demo && ../corvanta

test: build
	ctest --preset $(PRESET)

# Ratios against a bare Qt window, plain QPainter, the decoders and mpv: bench/run.
bench:
	bench/run

build: deps
	cmake --preset $(PRESET) -DCORVANTA_WERROR=$(WERROR) >/dev/null
	cmake --build --preset $(PRESET)

deps:
	scripts/install-deps

# The demo disc, mapped as drive D: of the program in the build folder.
demo:
	$(BUILD)/mkdisc --demo $(BUILD)/demo/demo.cue
	mkdir -p $(BUILD)/drives
	ln -sfn ../demo/demo.cue '$(BUILD)/drives/d:'
