// web/js/engine-worker.js: runs one of the engine programs in a worker.
// The page sends one message: the program's name, its arguments, the input
// ring (a SharedArrayBuffer, see engine.js) and the book's text. Every line
// the program prints goes back as {line}, its end as {exit}.
// Copyright the Zorvu authors; GNU GPL version 3 or later.
'use strict';

const RING_CONTROL_WORDS = 4;   // read position, write position, closed flag, unused

self.onmessage = (event) => {
    const { program, args, ring, book } = event.data;
    importScripts(`../${program}.js`);
    const control = new Int32Array(ring, 0, RING_CONTROL_WORDS);
    const bytes = new Uint8Array(ring, RING_CONTROL_WORDS * 4);
    createZorvu({
        inputRing: { control, bytes },
        // The programs sit one folder above this script.
        locateFile: (file) => new URL(`../${file}`, self.location.href).href,
        print: (line) => postMessage({ line }),
        printErr: (line) => postMessage({ line, stderr: true }),
        onExit: (status) => postMessage({ exit: status }),
    }).then((module) => {
        // The program reads and rewrites open.dat in its working directory.
        module.FS.writeFile('open.dat', book || '');
        module.callMain(args);
    }, (error) => postMessage({ failed: String(error) }));
};
