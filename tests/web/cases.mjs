// SPDX-License-Identifier: GPL-3.0-or-later
// The browser tests of the web page, each on a fresh browser context.

import fs from 'node:fs/promises';
import { openPage, noErrors, check, until, hook, choose, newGame, typeMove, setFen, replay, Chess } from './helpers.mjs';

const EDITIONS = ['35', '30', '23'];
const START = 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1';
const FAST = 0.05;   // seconds per move for games that must end quickly

const historyLength = (page, n, timeout) => until(page, k => window.zorvuPage.history().length >= k, n, timeout);

// Clicks the from and to squares of a move on the board (white at the bottom
// unless the board is flipped).
async function clickMove(page, from, to) {
  const box = await page.locator('#board cg-board').boundingBox();
  const flipped = await page.$eval('#board', el => el.classList.contains('orientation-black'));
  const size = box.width / 8;
  for (const sq of [from, to]) {
    let file = sq.charCodeAt(0) - 97;
    let rank = Number(sq[1]) - 1;
    if (flipped) { file = 7 - file; rank = 7 - rank; }
    await page.mouse.click(box.x + (file + 0.5) * size, box.y + (7 - rank + 0.5) * size);
  }
}

async function download(page, button) {
  const [file] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return fs.readFile(await file.path(), 'utf8');
}

// The page's result must be the rules' verdict on the final position.
function checkVerdict(startFen, moves, result) {
  const chess = replay(startFen, moves);
  let want = null;
  if (chess.isCheckmate()) want = { score: chess.turn() === 'w' ? '0-1' : '1-0', reason: 'checkmate' };
  else if (chess.isStalemate()) want = { score: '1/2-1/2', reason: 'stalemate' };
  else if (chess.isInsufficientMaterial()) want = { score: '1/2-1/2', reason: 'insufficient material' };
  else if (chess.isThreefoldRepetition()) want = { score: '1/2-1/2', reason: 'threefold repetition' };
  else if (chess.isDrawByFiftyMoves()) want = { score: '1/2-1/2', reason: 'fifty-move rule' };
  check(want, `the page ended the game (${JSON.stringify(result)}) where the rules do not`);
  check(result.score === want.score && result.reason === want.reason, `result ${JSON.stringify(result)}, the rules say ${JSON.stringify(want)}`);
}

export const TESTS = [
  { name: 'page loads without errors', async run(context, base) {
    const page = await openPage(context, base);
    await page.waitForTimeout(1000);
    check(await page.locator('#board piece:not(.ghost)').count() === 32, 'the board does not show 32 pieces');
    // At a phone's width the board takes the width and nothing scrolls sideways.
    await page.setViewportSize({ width: 360, height: 740 });
    await page.waitForTimeout(200);
    const { scroll, board } = await page.evaluate(() => ({
      scroll: document.documentElement.scrollWidth,
      board: document.getElementById('board').getBoundingClientRect().width,
    }));
    check(scroll <= 360 && board >= 330, `at 360 px the page is ${scroll} px wide, the board ${board} px`);
    noErrors(page);
  } },

  { name: 'every edition answers e2e4 clicked on the board', async run(context, base) {
    const page = await openPage(context, base);
    for (const edition of EDITIONS) {
      await newGame(page, { edition, color: 'w', 'time-kind': 'move', 'move-seconds': 0.2 });
      await clickMove(page, 'e2', 'e4');
      await historyLength(page, 2);
      const moves = await hook(page, 'history');
      check(moves[0] === 'e4' && moves.length === 2, `edition ${edition}: moves ${moves}`);
      replay(START, moves);
    }
    noErrors(page);
  } },

  { name: 'a game against each edition ends with the rules\' result', async run(context, base) {
    const page = await openPage(context, base);
    const fen = '8/8/8/4k3/8/8/8/3QK3 w - - 0 1';
    for (const edition of EDITIONS) {
      await choose(page, { edition, color: 'b', 'time-kind': 'move', 'move-seconds': FAST });
      await setFen(page, fen);
      for (;;) {
        await until(page, () => window.zorvuPage.result() || (!window.zorvuPage.busy() && window.zorvuPage.fen().split(' ')[1] === 'b'), null, 60000);
        const result = await hook(page, 'result');
        const moves = await hook(page, 'history');
        if (result) { checkVerdict(fen, moves, result); break; }
        const chess = replay(fen, moves);
        const options = chess.moves();
        // Any legal reply will do; picking by the move count keeps runs alike.
        await typeMove(page, options[(moves.length * 7) % options.length]);
        await historyLength(page, moves.length + 1);
      }
      check(await page.textContent('#result') !== '', `edition ${edition}: no result shown`);
    }
    noErrors(page);
  } },

  { name: 'take back restores the position and the move list', async run(context, base) {
    const page = await openPage(context, base);
    await newGame(page, { color: 'w', 'time-kind': 'move', 'move-seconds': 0.1 });
    await typeMove(page, 'e2e4');
    await historyLength(page, 2);
    const fen = await hook(page, 'fen');
    const moves = await hook(page, 'history');
    await typeMove(page, 'Nf3');
    await historyLength(page, 4);
    await page.click('#take-back');
    await until(page, n => window.zorvuPage.history().length === n, 2);
    check(await hook(page, 'fen') === fen, 'the position after take back differs');
    check(JSON.stringify(await hook(page, 'history')) === JSON.stringify(moves), 'the move list after take back differs');
    check(await page.locator('#moves li').count() === 1, 'the shown move list was not shortened');
    // A take back while the engine thinks stops it: its move never comes.
    await newGame(page, { 'move-seconds': 20 });
    await typeMove(page, 'd4');
    await until(page, () => window.zorvuPage.busy());
    await page.click('#take-back');
    await until(page, () => window.zorvuPage.history().length === 0 && !window.zorvuPage.busy());
    await page.waitForTimeout(500);
    check((await hook(page, 'history')).length === 0 && await hook(page, 'fen') === START, 'a move came after the take back');
    noErrors(page);
  } },

  { name: 'FEN set-up takes a valid FEN, refuses an invalid one, promotes by the picker', async run(context, base) {
    const page = await openPage(context, base);
    await choose(page, { color: 'w', 'move-seconds': 0.1 });
    const fen = '8/4P3/k7/8/8/8/8/4K3 w - - 0 1';
    await setFen(page, fen);
    await until(page, f => window.zorvuPage.fen() === f, fen, 5000);
    await setFen(page, 'this is no position');
    await until(page, () => document.getElementById('message').textContent.includes('Invalid FEN'), null, 5000);
    check(await hook(page, 'fen') === fen, 'an invalid FEN changed the position');
    await setFen(page, '8/4P3/k8/8/8/8/8/4K3 w - - 0 1');
    check(await hook(page, 'fen') === fen, 'a FEN with a bad rank changed the position');
    // e7-e8 stops at the picker; the knight is chosen.
    await clickMove(page, 'e7', 'e8');
    await page.waitForSelector('#promotion', { state: 'visible', timeout: 2000 });
    await page.click('#promotion [data-piece=n]');
    await historyLength(page, 1);
    check((await hook(page, 'history'))[0] === 'e8=N', `promotion played as ${(await hook(page, 'history'))[0]}`);
    noErrors(page);
  } },

  { name: 'PGN export holds the moves in SAN and the result', async run(context, base) {
    const page = await openPage(context, base);
    await choose(page, { color: 'w', 'move-seconds': 0.1 });
    const fen = 'k7/8/1K6/8/8/8/8/7Q w - - 0 1';
    await setFen(page, fen);
    await typeMove(page, 'Qh8');
    await until(page, () => window.zorvuPage.result());
    let pgn = await download(page, '#download-pgn');
    for (const want of ['[Result "1-0"]', '[SetUp "1"]', `[FEN "${fen}"]`, '1. Qh8#', '[Event ', '[Site ', '[Date ', '[White ', '[Black ']) {
      check(pgn.includes(want), `PGN lacks ${want}:\n${pgn}`);
    }
    check(pgn.trim().endsWith('1-0'), 'the movetext does not end with 1-0');
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await page.click('#copy-pgn');
    await until(page, () => document.getElementById('message').textContent.includes('clipboard'), null, 5000);
    check(await page.evaluate(() => navigator.clipboard.readText()) === pgn, 'the clipboard does not hold the PGN');
    await page.click('#new-game');
    await typeMove(page, 'e4');
    await historyLength(page, 2);
    await page.click('#resign');
    const result = await hook(page, 'result');
    check(result && result.score === '0-1' && result.reason === 'resignation', `resigning gave ${JSON.stringify(result)}`);
    const reply = (await hook(page, 'history'))[1];
    pgn = await download(page, '#download-pgn');
    check(pgn.includes(`1. e4 ${reply}`) && pgn.includes('[Result "0-1"]') && !pgn.includes('[FEN'), `PGN after resigning:\n${pgn}`);
    noErrors(page);
  } },

  { name: 'analysis with three lines shows three legal first moves', async run(context, base) {
    const page = await openPage(context, base);
    await choose(page, { mode: 'analysis', multipv: 3 });
    await typeMove(page, 'e4');
    const lines = await until(page, () => {
      const l = window.zorvuPage.lines();
      return l.length === 3 && l.every(x => x.depth >= 3) && l;
    });
    const fen = await hook(page, 'fen');
    check(new Set(lines.map(l => l.move)).size === 3, `first moves ${lines.map(l => l.move)}`);
    for (const l of lines) new Chess(fen).move({ from: l.move.slice(0, 2), to: l.move.slice(2, 4), promotion: l.move[4] });
    check(await page.locator('#lines li').count() === 3, 'the page does not show three lines');
    noErrors(page);
  } },

  { name: 'stop during a long think gets the move within 200 ms', async run(context, base) {
    const page = await openPage(context, base);
    await newGame(page, { color: 'w', 'time-kind': 'move', 'move-seconds': 60 });
    await typeMove(page, 'e4');
    await until(page, () => window.zorvuPage.busy() && window.zorvuPage.thinking());
    await page.waitForTimeout(500);
    await page.click('#stop');
    await historyLength(page, 2, 5000);
    const ms = await hook(page, 'stopToBestmove');
    check(ms !== null && ms < 200, `bestmove came ${ms} ms after stop`);
    noErrors(page);
  } },

  { name: 'engine against engine plays legal moves until stopped', async run(context, base) {
    const page = await openPage(context, base);
    await newGame(page, { mode: 'match', 'white-edition': '35', 'black-edition': '23', 'time-kind': 'move', 'move-seconds': FAST });
    await historyLength(page, 8, 60000);
    await page.click('#stop');
    await until(page, () => !window.zorvuPage.busy());
    const moves = await hook(page, 'history');
    replay(START, moves);
    await page.waitForTimeout(300);
    check((await hook(page, 'history')).length === moves.length, 'moves came after stop');
    noErrors(page);
  } },

  { name: 'book moves added in the page survive a reload and are exported', async run(context, base) {
    const page = await openPage(context, base);
    await page.click('summary:has-text("Opening book")');
    await choose(page, { mode: 'analysis' });
    await typeMove(page, 'e2e4');
    await page.click('#book-add');
    await typeMove(page, 'e7e5');
    await page.click('#book-add');
    const want = 'tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT /0/52,36/\n'
      + 'tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n';
    await until(page, w => window.zorvuPage.book() === w, want, 5000);
    await page.reload();
    await page.waitForFunction(() => window.zorvuPage && window.zorvuPage.ready);
    await page.evaluate(() => window.zorvuPage.ready);
    await page.click('summary:has-text("Opening book")');
    check(await hook(page, 'book') === want, `after reload the book is ${JSON.stringify(await hook(page, 'book'))}`);
    check(await download(page, '#book-export') === want, 'the exported book differs');
    // An imported book replaces the stored one; a line may not reach 255 characters.
    const long = 'tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT /0/' + '52,36/'.repeat(34) + '\n';
    await page.setInputFiles('#book-import', { name: 'open.dat', mimeType: 'text/plain', buffer: Buffer.from(long) });
    await until(page, w => window.zorvuPage.book() === w, long, 5000);
    await choose(page, { mode: 'analysis' });
    await typeMove(page, 'e2e4');
    await page.click('#book-add');
    await until(page, () => document.getElementById('message').textContent.includes('characters'), null, 5000);
    check(await hook(page, 'book') === long, 'a line past the limit was written');
    noErrors(page);
  } },
];
