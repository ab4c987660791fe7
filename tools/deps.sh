#!/bin/sh
# Checks that what a task needs is installed: build (compiler, CMake, make),
# test (the build, GoogleTest and Python), tsan (ThreadSanitizer's
# runtime), fuzz (clang and its libFuzzer
# runtime), deb (the package tools, and lintian for the package's check),
# web (emscripten, Node.js and npm for the page), browser (chromium, for the
# page's tests).
# Run as root on Debian, it installs the missing packages; otherwise it
# names them and fails.
# Usage: tools/deps.sh build|test|tsan|fuzz|deb|web|browser ...
need=""
want() { # package, then the test that shows it is there
    package=$1
    shift
    "$@" >/dev/null 2>&1 || need="$need $package"
}
has() { command -v "$1"; }
for task in "$@"; do
    case $task in
        build | test | deb)
            want cmake has cmake
            want g++ has g++
            want make has make ;;
    esac
    case $task in
        build) ;;
        test)
            want libgtest-dev test -f /usr/include/gtest/gtest.h
            want python3 has python3 ;;
        tsan)
            want libtsan2 sh -c 'ls /usr/lib/*/libtsan.so.2' ;;
        fuzz)
            want clang has clang++
            want libclang-rt-14-dev sh -c 'ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' ;;
        web)
            want cmake has cmake
            want make has make
            want emscripten has emcc
            want nodejs has node
            want npm has npm ;;
        browser)
            want chromium has chromium
            want python3 has python3 ;;
        deb)
            want dpkg-dev has dpkg-shlibdeps
            want file has file
            want lintian has lintian ;;
        *) echo "tools/deps.sh: unknown task $task (build, test, tsan, fuzz, deb, web or browser)" >&2; exit 2 ;;
    esac
done
[ -z "$need" ] && exit 0

if [ "$(id -u)" = 0 ] && has apt-get >/dev/null; then
    echo "installing:$need"
    export DEBIAN_FRONTEND=noninteractive
    # shellcheck disable=SC2086  # one word per package
    apt-get update -qq && apt-get install -y -qq $need >/dev/null && exit 0
    echo "could not install:$need" >&2
    exit 1
fi
echo "missing:$need" >&2
echo "install them (Debian) with: sudo apt-get install$need" >&2
exit 1
