# Convenience targets; the build itself is CMake's.
BUILD := build
ASAN_BUILD := build-asan
TSAN_BUILD := build-tsan
DEB_BUILD := build-deb
JOBS := $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS := 60
# Extra settings for the configure step, e.g. CMAKE_ARGS=-DZORVU_MARCH=native
CMAKE_ARGS :=
# Where make install puts things (DESTDIR, if set, is put before it).
PREFIX := /usr/local
# make EXE=<path> [EDITION=35|30|23] builds one program and puts it at
# <path>, as engine test frameworks build an engine (make -j EXE=/tmp/engine).
EXE :=
EDITION := 35
PROGRAM_35 := zorvu35
PROGRAM_30 := zorvu30
PROGRAM_23 := zorvu
EXE_PROGRAM := $(PROGRAM_$(EDITION))
ifneq ($(EXE),)
.DEFAULT_GOAL := exe
endif

.PHONY: all exe programs play test test-asan test-tsan fuzz install uninstall deb web serve test-web clean

all:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

exe:
	@[ -n "$(EXE)" ] || { echo "make exe needs EXE=<path>" >&2; exit 2; }
	@[ -n "$(EXE_PROGRAM)" ] || { echo "EDITION must be 35, 30 or 23, not '$(EDITION)'" >&2; exit 2; }
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target $(EXE_PROGRAM)
	cp $(BUILD)/$(EXE_PROGRAM) "$(EXE)"

# The programs and their tools, without any test: needs only a compiler,
# CMake and make.
programs:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS) --target programs

play: programs
	$(BUILD)/zorvu35

test:
	tools/deps.sh test
	$(MAKE) all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	tools/deps.sh test
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZORVU_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The searches on several threads (the tests labelled "threads") built with
# ThreadSanitizer: the programs alone, without the unit tests.
test-tsan:
	tools/deps.sh test tsan
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVU_TSAN=ON $(CMAKE_ARGS)
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target zorvu35 zorvu30 zorvu
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L threads

# Every fuzz target for FUZZ_SECONDS seconds (clang, into build-fuzz/).
fuzz:
	tools/deps.sh fuzz
	tools/fuzz.sh $(FUZZ_SECONDS)

# Builds what is missing (configuring only a build that is not there yet,
# so that sudo make install after make leaves the build's settings alone),
# then installs. The programs go to PREFIX/games for /usr and /usr/local,
# to PREFIX/bin for any other prefix (make install PREFIX=$HOME/.local puts
# them in ~/.local/bin); the install rules choose, from the prefix given here.
install:
	@[ -f $(BUILD)/CMakeCache.txt ] || $(MAKE) programs
	cmake --build $(BUILD) -j $(JOBS) --target programs
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what the last install from this build put in place (give the
# same DESTDIR).
uninstall:
	DESTDIR=$(DESTDIR) cmake --build $(BUILD) --target uninstall

# The Debian package, for any x86-64 processor (Debian's baseline), into
# build-deb/; hardened as Debian builds its packages: the C library checks
# the calls whose buffer sizes are known, and the relocations are bound at
# start-up and made read-only.
DEB_CXXFLAGS := -D_FORTIFY_SOURCE=2
DEB_LDFLAGS := -Wl,-z,relro,-z,now
deb:
	tools/deps.sh deb
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DZORVU_MARCH=x86-64 -DZORVU_TESTS=OFF \
		"-DCMAKE_CXX_FLAGS=$(DEB_CXXFLAGS)" "-DCMAKE_EXE_LINKER_FLAGS=$(DEB_LDFLAGS)" $(CMAKE_ARGS)
	cmake --build $(DEB_BUILD) -j $(JOBS) --target programs
	cd $(DEB_BUILD) && cpack -G DEB

# The page with the three programs in WebAssembly, into build-web/ (built
# with emscripten in build-wasm/), and a server for it on 127.0.0.1 that
# sends the headers it needs (PORT=8000 by default).
WEB_BUILD := build-web
WASM_BUILD := build-wasm
PORT := 8000
# The browser build's search signatures: the native programs' bench counts.
WEB_SIGNATURES := zorvu35=616174 zorvu30=887102 zorvu=533416
web:
	tools/web_build.sh $(WEB_BUILD) $(WASM_BUILD)

serve:
	python3 tools/serve.py --port $(PORT) --dir $(WEB_BUILD)

# The wasm programs' signatures under Node, then the page's tests in a
# headless chromium.
test-web:
	tools/deps.sh web browser
	$(MAKE) web
	node tools/wasm_bench.mjs $(WEB_BUILD) $(WEB_SIGNATURES)
	node tests/web/run.mjs $(WEB_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) $(WEB_BUILD) $(WASM_BUILD) build-fuzz build-cover
