// tools/wasm_bench.mjs: runs "PROGRAM bench [depth]" of the browser build
// under Node, for each program given, and prints its last line (nodes and
// nodes per second), as the native program does.
// Usage: node tools/wasm_bench.mjs BUILD_WEB_DIR PROGRAM[=NODES]... [--depth N]
// With =NODES, the run fails unless the program counts that many nodes (its
// search signature, which must be the native program's).
// Copyright the Zorvu authors; GNU GPL version 3 or later.
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const require = createRequire(import.meta.url);

// The program's own run of its bench: its printed lines.
export async function wasmBench(dir, program, depth) {
    const createZorvu = require(resolve(dir, `${program}.js`));
    const lines = [];
    const module = await createZorvu({
        wasmBinary: readFileSync(join(dir, `${program}.wasm`)),
        print: (line) => lines.push(line),
        printErr: (line) => lines.push(line),
        // The program's exit ends its run, not Node's.
        quit: (status, exit) => {
            throw exit;
        },
    });
    module.callMain(depth ? ['bench', String(depth)] : ['bench']);
    return lines;
}

const args = process.argv.slice(2);
const at = args.indexOf('--depth');
const depth = at >= 0 ? args.splice(at, 2)[1] : undefined;
const [dir, ...programs] = args;
let wrong = 0;
for (const given of programs) {
    const [program, expected] = given.split('=');
    const lines = await wasmBench(dir, program, depth);
    const last = lines[lines.length - 1] || '';
    const nodes = last.split(' ')[0];
    const verdict = expected === undefined ? '' : nodes === expected ? ' (signature ok)' : ` (WRONG: expected ${expected})`;
    if (expected !== undefined && nodes !== expected) wrong++;
    console.log(`${program} ${last}${verdict}`);
}
process.exitCode = wrong ? 1 : 0;
