// web/js/engine.js: the page's side of an engine program running in a
// worker. Lines for the program's standard input go into a ring of shared
// memory that the program reads (and that a running search looks at as it
// polls), so a "stop" reaches a search at once; what the program prints
// comes back line by line.
// Copyright the Zorvu authors; GNU GPL version 3 or later.

export const EDITIONS = [
    { id: '35', name: 'Zorvu 3.5', program: 'zorvu35' },
    { id: '30', name: 'Zorvu 3.0', program: 'zorvu30' },
    { id: '23', name: 'Zorvu 2.3', program: 'zorvu' },
];

// The ring: control words (read position, write position, closed flag,
// unused) and then the bytes. Positions count bytes modulo 2^32, and a byte
// at position p sits at p modulo RING_BYTES. The program writes only the
// read position, the page the other two.
const RING_BYTES = 1 << 16;
const RING_CONTROL_WORDS = 4;
const READ = 0, WRITE = 1, CLOSED = 2;
const RETRY_MS = 5;   // a full ring is written again after this long

function edition(id) {
    const found = EDITIONS.find((e) => e.id === id);
    if (!found) throw new Error(`no edition ${id}`);
    return found;
}

// Starts the edition's program (args as on a command line: none for its
// console, and from there "uci"); onLine(line) gets every printed line,
// onExit(status) its end.
export function startEngine(id, { book = '', args = [], onLine = () => {}, onExit = () => {} } = {}) {
    const shared = new SharedArrayBuffer(RING_CONTROL_WORDS * 4 + RING_BYTES);
    const control = new Int32Array(shared, 0, RING_CONTROL_WORDS);
    const bytes = new Uint8Array(shared, RING_CONTROL_WORDS * 4);
    const worker = new Worker(new URL('./engine-worker.js', import.meta.url));
    const encoder = new TextEncoder();
    let waiting = new Uint8Array(0);   // bytes the ring had no room for yet
    let retry = null;
    let running = true;

    function flush() {
        retry = null;
        const read = Atomics.load(control, READ);
        const written = Atomics.load(control, WRITE);
        const room = RING_BYTES - ((written - read) | 0);
        const n = Math.min(room, waiting.length);
        for (let i = 0; i < n; i++) bytes[(written + i) & (RING_BYTES - 1)] = waiting[i];
        waiting = waiting.subarray(n);
        Atomics.store(control, WRITE, (written + n) | 0);
        Atomics.notify(control, WRITE);
        if (waiting.length && running) retry = setTimeout(flush, RETRY_MS);
    }

    worker.onmessage = ({ data }) => {
        if ('line' in data) onLine(data.line);
        else if ('exit' in data || 'failed' in data) {
            if ('failed' in data) onLine(`failed to start: ${data.failed}`);
            running = false;
            onExit('exit' in data ? data.exit : -1);
        }
    };
    worker.onerror = (event) => {
        running = false;
        onLine(`failed: ${event.message}`);
        onExit(-1);
    };
    worker.postMessage({ program: edition(id).program, args, ring: shared, book });

    return {
        id,
        send(line) {
            const more = encoder.encode(line + '\n');
            const joined = new Uint8Array(waiting.length + more.length);
            joined.set(waiting);
            joined.set(more, waiting.length);
            waiting = joined;
            if (!retry) flush();
        },
        // The end of input: the program ends as at the end of a pipe.
        close() {
            Atomics.store(control, CLOSED, 1);
            Atomics.notify(control, WRITE);
        },
        terminate() {
            running = false;
            clearTimeout(retry);
            worker.terminate();
        },
    };
}

// The edition's search signature, as "PROGRAM bench" gives it: resolves with
// its nodes, nodes per second and seconds, from the last line
// "<nodes> nodes <nps> nps".
export function runBench(id, { onLine = () => {} } = {}) {
    return new Promise((resolve, reject) => {
        let last = '';
        const engine = startEngine(id, {
            args: ['bench'],
            onLine(line) {
                last = line;
                onLine(line);
            },
            onExit(status) {
                engine.terminate();
                const m = /^(\d+) nodes (\d+) nps$/.exec(last);
                if (status !== 0 || !m) return reject(new Error(`bench of ${id} ended with ${status}: ${last}`));
                const nodes = Number(m[1]), nps = Number(m[2]);
                resolve({ nodes, nps, seconds: nps > 0 ? nodes / nps : 0 });
            },
        });
    });
}
