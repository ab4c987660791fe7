// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests share: a page that records its errors, waiting on
// the page's state, and chess.js to judge positions.

import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const require = createRequire(path.join(ROOT, 'web/package.json'));
export const { Chess } = require('chess.js');

// Opens the page, waits until it is ready, and collects console errors,
// page errors and requests that leave the page's own origin.
export async function openPage(context, base, { width = 1280, height = 800 } = {}) {
  const page = await context.newPage();
  await page.setViewportSize({ width, height });
  const errors = [];
  page.on('console', msg => { if (msg.type() === 'error') errors.push(`console: ${msg.text()}`); });
  page.on('pageerror', err => errors.push(`page: ${err.message}`));
  page.on('request', req => {
    const u = req.url();
    if (!u.startsWith(base) && !u.startsWith('data:') && !u.startsWith('blob:')) errors.push(`request: ${u}`);
  });
  await page.goto(base);
  await page.waitForFunction(() => window.zorvuPage && window.zorvuPage.ready);
  await page.evaluate(() => window.zorvuPage.ready);
  page.errors = errors;
  return page;
}

export function noErrors(page) {
  if (page.errors.length) throw new Error(page.errors.join('; '));
}

export function check(ok, what) {
  if (!ok) throw new Error(what);
}

// Waits until fn (run in the page with arg) returns something truthy, and returns it.
export async function until(page, fn, arg, timeout = 30000) {
  const handle = await page.waitForFunction(fn, arg, { timeout, polling: 50 });
  return handle.jsonValue();
}

export const hook = (page, name, ...args) => page.evaluate(([n, a]) => window.zorvuPage[n](...a), [name, args]);

// Sets the form's fields by id, as a user would pick them.
export async function choose(page, fields) {
  for (const [id, value] of Object.entries(fields)) {
    const tag = await page.$eval(`#${id}`, el => el.tagName);
    if (tag === 'SELECT') await page.selectOption(`#${id}`, String(value));
    else await page.fill(`#${id}`, String(value));
  }
}

// Picks the settings, then starts a new game with them (they apply from the
// next new game).
export async function newGame(page, fields) {
  await choose(page, fields);
  await page.click('#new-game');
}

// Types a move into the move field and presses Enter.
export async function typeMove(page, move) {
  await page.fill('#move-input', move);
  await page.press('#move-input', 'Enter');
}

export async function setFen(page, fen) {
  await page.fill('#fen', fen);
  await page.click('#set-fen');
}

// Replays SAN moves from fen with chess.js; throws on an illegal one.
export function replay(fen, moves) {
  const chess = new Chess(fen);
  for (const san of moves) chess.move(san);
  return chess;
}
