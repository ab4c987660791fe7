// frontend/input_ring.cpp: the program's input in the browser. The page
// writes its lines into a ring of shared memory (a SharedArrayBuffer that
// the worker keeps as Module.inputRing, see web/js/engine-worker.js); the
// program waits on it with Atomics.wait and looks at it with Atomics.load,
// so that a line sent during a search is seen at the search's next poll,
// as a pipe's would be.
//
// The ring (written by web/js/engine.js): an Int32Array of control words (read position,
// write position, closed flag) followed by the bytes. Positions count bytes
// modulo 2^32; a byte at position p sits at p modulo the ring's size, a power
// of two. The page only writes the write position and the closed flag, the
// program only the read position.
#include "frontend/input_source.h"
#include <emscripten.h>

// clang-format off
EM_JS(int, ring_ready, (), {
    const c = Module.inputRing.control;
    return Atomics.load(c, 1) !== Atomics.load(c, 0) || Atomics.load(c, 2) !== 0 ? 1 : 0;
});

EM_JS(int, ring_read, (char* out, int size), {
    const ring = Module.inputRing;
    const c = ring.control;
    const bytes = ring.bytes;
    // The wait ends when the page writes, and also now and then to look at
    // the closed flag: a close just before the wait began wakes nobody.
    const CLOSE_CHECK_MS = 100;
    let read = Atomics.load(c, 0);
    let written;
    while ((written = Atomics.load(c, 1)) === read) {
        if (Atomics.load(c, 2) !== 0) return 0;
        Atomics.wait(c, 1, written, CLOSE_CHECK_MS);
    }
    const n = Math.min(size, (written - read) | 0);
    const mask = bytes.length - 1;
    for (let i = 0; i < n; i++) HEAPU8[out + i] = bytes[(read + i) & mask];
    Atomics.store(c, 0, (read + n) | 0);
    Atomics.notify(c, 0);
    return n;
});
// clang-format on

bool source_ready() { return ring_ready() != 0; }

std::size_t source_read(char* out, std::size_t size) { return std::size_t(ring_read(out, int(size))); }
