# The two commands of the README: make test, make demo.
.PHONY: test demo deps build

test: build
	scripts/run-tests.sh

build: deps
	scripts/build.sh

deps:
	scripts/install-deps.sh

demo: build
	scripts/demo.sh
