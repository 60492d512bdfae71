# The two commands of the README, `make run` and `make test`, and `make package` for the .deb.
PRESET ?= default
BUILD  := $(if $(filter asan,$(PRESET)),build-asan,build)
# CI turns warnings into errors.
WERROR := $(if $(CI),ON,OFF)

.PHONY: run test bench package program build configure demo

# Started in the demo folder, so "開く" opens where the demo's lyrics are.
run: DEPS :=
run: program demo
	cd $(BUILD)/demo && ../corvanta

test: DEPS := test
test: build
	ctest --preset $(PRESET)

# Ratios against a bare Qt window, plain QPainter, the decoders, a bare SDL stream and mpv:
# bench/run. QUICK=1 runs each benchmark once, to see that it still runs.
bench:
	bench/run $(if $(QUICK),--quick)

# build/corvanta_<version>_amd64.deb
package: DEPS := package
package: program
	cd $(BUILD) && cpack -G DEB

# Only what running needs: the program and the demo disc's writer.
program: configure
	cmake --build --preset $(PRESET) --target corvanta mkdisc

build: configure
	cmake --build --preset $(PRESET)

configure:
	scripts/install-deps $(DEPS)
	cmake --preset $(PRESET) -DCORVANTA_WERROR=$(WERROR) >/dev/null

# The demo disc, mapped as drive D: of the program in the build folder, and the same disc as a
# FLAC rip with its cue sheet as drive E:.
demo:
	$(BUILD)/mkdisc --demo $(BUILD)/demo/demo.cue
	$(BUILD)/mkdisc --format flac --demo $(BUILD)/demo/rip/demo.cue
	mkdir -p $(BUILD)/drives
	ln -sfn ../demo/demo.cue '$(BUILD)/drives/d:'
	ln -sfn ../demo/rip/demo.cue '$(BUILD)/drives/e:'
