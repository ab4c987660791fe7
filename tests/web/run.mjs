// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the web page's browser tests: serves a build directory (build-web by
// default) with tools/serve.py, drives Debian's Chromium through
// playwright-core, prints one line per test and exits non-zero on a failure.
//   node tests/web/run.mjs [build-web dir] [test name filter]

import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { TESTS } from './cases.mjs';

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const require = createRequire(path.join(ROOT, 'web/package.json'));
const { chromium } = require('playwright-core');
const SERVER_START_MS = 15000;
const TEST_TIMEOUT_MS = 120000;

export function startServer(dir) {
  const server = spawn('python3', [path.join(ROOT, 'tools/serve.py'), '--port', '0', '--dir', dir], { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = new Promise((resolve, reject) => {
    let seen = '';
    const timer = setTimeout(() => reject(new Error('the server did not say where it serves')), SERVER_START_MS);
    server.stdout.on('data', chunk => {
      seen += chunk;
      const m = seen.match(/serving (http:\/\/\S+)/);
      if (m) { clearTimeout(timer); resolve(m[1].endsWith('/') ? m[1] : m[1] + '/'); }
    });
    server.on('exit', code => { clearTimeout(timer); reject(new Error(`the server ended (${code})`)); });
  });
  return { server, url };
}

export function launchBrowser() {
  const args = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
  return chromium.launch({ executablePath: '/usr/bin/chromium', headless: true, args });
}

function withTimeout(promise, ms) {
  let timer;
  const limit = new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(`timed out after ${ms} ms`)), ms); });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

async function main() {
  const dir = path.resolve(process.argv[2] || path.join(ROOT, 'build-web'));
  const filter = process.argv[3] || '';
  const { server, url } = startServer(dir);
  let browser = null;
  // Interrupted, the run still ends its server and browser.
  for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
    process.on(signal, async () => {
      server.kill();
      if (browser) await browser.close().catch(() => {});
      console.log(`FAIL interrupted by ${signal}`);
      process.exit(1);
    });
  }
  let passed = 0;
  let failed = 0;
  try {
    const base = await url;
    browser = await launchBrowser();
    for (const test of TESTS.filter(t => t.name.includes(filter))) {
      const context = await browser.newContext({ acceptDownloads: true });
      const began = Date.now();
      try {
        await withTimeout(test.run(context, base), TEST_TIMEOUT_MS);
        passed++;
        console.log(`ok   ${test.name} (${Date.now() - began} ms)`);
      } catch (err) {
        failed++;
        console.log(`FAIL ${test.name} (${Date.now() - began} ms): ${err.message}`);
      } finally {
        await context.close().catch(() => {});
      }
    }
  } catch (err) {
    failed++;
    console.log(`FAIL setup: ${err.message}`);
  } finally {
    if (browser) await browser.close().catch(() => {});
    server.kill();
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

if (process.argv[1] && fileURLToPath(import.meta.url) === path.resolve(process.argv[1])) main();
