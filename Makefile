# The two commands a new user needs: `make test` and `make run`.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build test test-main test-sanitize bench run clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Every test program, then every one once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: test-main test-sanitize

test-main: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(SAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTB_SANITIZE=ON -DTB_BENCH=OFF >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
	  ctest --output-on-failure --no-tests=error -j $(JOBS)

bench: build
	@cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@for b in $(BUILD)/bin/*_bench; do [ -x "$$b" ] || continue; echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen "$$b" || exit 1; done

# The program folder is build/bin: the program, its pictures (Res/, Faces/),
# the report templates (Frf/) and, made fresh when missing, the database.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tallybridge tallybridge-newdb tallybridge-pictures tallybridge-templates
	@[ -e $(BUILD)/bin/Tallybridge.mdb ] || $(BUILD)/bin/tallybridge-newdb $(BUILD)/bin/Tallybridge.mdb
	@cd $(BUILD)/bin && ./tallybridge

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
