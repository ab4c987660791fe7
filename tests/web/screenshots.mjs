// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the page for a person to look at (not a test):
//   node tests/web/screenshots.mjs BUILD_DIR OUT_DIR
// desktop during a game with the engine thinking, a phone during a game,
// and desktop analysis with three lines.

import fs from 'node:fs/promises';
import path from 'node:path';
import { startServer, launchBrowser } from './run.mjs';
import { openPage, until, choose, typeMove } from './helpers.mjs';

const [dir, out] = process.argv.slice(2);
if (!dir || !out) {
  console.error('usage: node tests/web/screenshots.mjs BUILD_DIR OUT_DIR');
  process.exit(2);
}

async function gameInProgress(context, base, size, file) {
  const page = await openPage(context, base, size);
  await choose(page, { color: 'w', 'time-kind': 'clock', 'clock-minutes': 5, 'clock-inc': 3 });
  await page.click('#new-game');
  for (const [i, move] of ['e4', 'd4', 'Nc3'].entries()) {
    await until(page, n => window.zorvuPage.history().length === n && !window.zorvuPage.busy(), 2 * i, 60000);
    const moves = await page.evaluate(() => window.zorvuPage.history());
    await typeMove(page, moves.includes(move) ? 'a3' : move);
  }
  await until(page, () => window.zorvuPage.busy() && window.zorvuPage.thinking() && window.zorvuPage.thinking().depth >= 5, null, 60000);
  await page.screenshot({ path: path.join(out, file), fullPage: file.includes('phone') });
  await page.close();
}

async function analysis(context, base) {
  const page = await openPage(context, base);
  await choose(page, { mode: 'analysis', multipv: 3 });
  await typeMove(page, 'e4');
  await typeMove(page, 'c5');
  await until(page, () => window.zorvuPage.lines().length === 3 && window.zorvuPage.lines()[2].depth >= 8, null, 60000);
  await page.screenshot({ path: path.join(out, 'desktop-analysis.png') });
  await page.close();
}

const { server, url } = startServer(path.resolve(dir));
let browser = null;
try {
  await fs.mkdir(out, { recursive: true });
  const base = await url;
  browser = await launchBrowser();
  const context = await browser.newContext();
  await gameInProgress(context, base, { width: 1280, height: 800 }, 'desktop-game.png');
  await gameInProgress(context, base, { width: 390, height: 844 }, 'phone-game.png');
  await analysis(context, base);
  console.log(`screenshots in ${out}`);
} finally {
  if (browser) await browser.close();
  server.kill();
}
