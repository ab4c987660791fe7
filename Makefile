# Convenience targets; the build itself is CMake's.
BUILD := build
ASAN_BUILD := build-asan
DEB_BUILD := build-deb
JOBS := $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS := 60
# Extra settings for the configure step, e.g. CMAKE_ARGS=-DZORVU_MARCH=native
CMAKE_ARGS :=
# Where make install puts things (DESTDIR, if set, is put before it).
PREFIX := /usr/local

.PHONY: all programs play test test-asan fuzz install uninstall deb clean

all:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

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
# build-deb/.
deb:
	tools/deps.sh deb
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DZORVU_MARCH=x86-64 -DZORVU_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(DEB_BUILD) -j $(JOBS) --target programs
	cd $(DEB_BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) build-fuzz build-cover
