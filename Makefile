# The two commands of the README: make test, make demo.
.PHONY: test demo deps build bench

test: build
	scripts/run-tests.sh

build: deps
	scripts/build.sh

deps:
	scripts/install-deps.sh

demo: build
	scripts/demo.sh

# Not one of the set-up commands: start-up time, memory and idle cost of the monitor against a
# bare tray program (scripts/bench.sh).
bench: deps
	scripts/build.sh win64
	scripts/bench.sh
