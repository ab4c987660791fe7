// SPDX-License-Identifier: GPL-3.0-or-later
// The page's entry: reads the form, wires the buttons and the move field to
// the game, and redraws after each change. window.zorvuPage exposes the
// state for the browser tests.

import { EDITIONS } from './engine.js';
import { game, fen, gamePgn } from './game.js';
import { S, configure, newGameFrom, setMode, userMove, afterChange, movableColor, stopPressed, goPressed, takeBack, resign, enginesBusy } from './play.js';
import { createBoard, showPosition, setOrientation, flipBoard, setArrows } from './board.js';
import { renderClocks, renderThinking, renderMoves, editionName, resultText } from './panels.js';
import { initBook } from './bookpanel.js';
import { initBench, benchResults } from './benchpanel.js';
import { downloadText, copyText } from './files.js';

const $ = id => document.getElementById(id);

function say(text) {
  $('message').textContent = text;
}

function number(id, fallback) {
  const v = Number($(id).value);
  return Number.isFinite(v) && v > 0 ? v : fallback;
}

function readSettings() {
  return {
    edition: $('edition').value,
    human: $('color').value,
    white: $('white-edition').value,
    black: $('black-edition').value,
    time: {
      kind: $('time-kind').value,
      seconds: number('move-seconds', 1),
      minutes: number('clock-minutes', 3),
      inc: Math.max(0, Number($('clock-inc').value) || 0),
    },
    multipv: Number($('multipv').value),
  };
}

function showForm() {
  document.body.dataset.mode = $('mode').value;
  document.body.dataset.time = $('time-kind').value;
}

function render(what) {
  renderClocks();
  if (what === 'clock') return;
  renderThinking();
  showArrow();
  if (what === 'thinking') return;
  showPosition(game.chess, movableColor());
  renderMoves();
  $('fen').placeholder = fen();
}

// The engine's best move as an arrow on the board while it thinks.
function showArrow() {
  const t = S.thinking;
  const move = t && t.move && !game.result && (enginesBusy() || S.mode === 'analysis') ? t.move : null;
  setArrows(move ? [{ orig: move.slice(0, 2), dest: move.slice(2, 4), brush: 'paleBlue' }] : []);
}

function playerNames() {
  const s = S.settings;
  const engine = id => editionName(id);
  if (S.mode === 'match') return [engine(s.white), engine(s.black)];
  if (S.mode === 'analysis') return ['Analysis', 'Analysis'];
  return s.human === 'w' ? ['You', engine(s.edition)] : [engine(s.edition), 'You'];
}

function pgn() {
  const [white, black] = playerNames();
  return gamePgn(white, black);
}

async function startNewGame(fenText) {
  configure(readSettings());
  if (S.mode === 'play') setOrientation(S.settings.human === 'w' ? 'white' : 'black');
  const error = await newGameFrom(fenText);
  if (error) say(`Invalid FEN: ${error}. The position is unchanged.`);
  else say('');
  return error;
}

function fillEditions() {
  for (const select of document.querySelectorAll('.edition-select')) {
    for (const e of EDITIONS) select.append(new Option(e.name, e.id));
  }
  $('black-edition').value = EDITIONS[1] ? EDITIONS[1].id : EDITIONS[0].id;
}

function wire() {
  const on = (id, event, fn) => $(id).addEventListener(event, fn);
  on('mode', 'change', () => { showForm(); configure(readSettings()); setMode($('mode').value); });
  on('time-kind', 'change', showForm);
  on('multipv', 'change', () => {
    S.settings.multipv = Number($('multipv').value);
    if (S.mode === 'analysis') { game.generation++; afterChange(); }
  });
  on('new-game', 'click', () => startNewGame());
  on('go', 'click', goPressed);
  on('stop', 'click', () => { S.stopPressedAt = performance.now(); stopPressed(); });
  on('take-back', 'click', takeBack);
  on('resign', 'click', resign);
  on('flip', 'click', () => { flipBoard(); renderClocks(); });
  on('set-fen', 'click', () => startNewGame($('fen').value));
  on('fen', 'keydown', ev => { if (ev.key === 'Enter') startNewGame($('fen').value); });
  on('move-input', 'keydown', ev => {
    if (ev.key !== 'Enter') return;
    const text = ev.target.value.trim();
    if (!text) return;
    if (userMove(text)) { ev.target.value = ''; say(''); } else say(`${text} cannot be played now.`);
  });
  on('copy-pgn', 'click', async () => say((await copyText(pgn())) ? 'The PGN is on the clipboard.' : 'The clipboard refused the PGN.'));
  on('download-pgn', 'click', () => downloadText('zorvu-game.pgn', pgn(), 'application/x-chess-pgn'));
}

// State for the browser tests; nothing here changes the game.
function exposeHook(ready) {
  window.zorvuPage = {
    ready,
    fen,
    startFen: () => game.startFen,
    history: () => game.chess.history(),
    result: () => game.result && { ...game.result, text: resultText(game.result) },
    mode: () => S.mode,
    busy: enginesBusy,
    thinking: () => S.thinking && { depth: S.thinking.info.depth, score: S.thinking.score, move: S.thinking.move, san: S.thinking.san },
    lines: () => S.lines.filter(Boolean).map(l => ({ depth: l.info.depth, move: l.info.pv[0], score: l.score, san: l.san })),
    evals: () => game.evals.slice(),
    stopToBestmove: () => S.lastStopToBest,
    book: () => S.book,
    bench: () => benchResults.slice(),
    pgn,
  };
}

async function start() {
  S.render = render;
  S.say = say;
  fillEditions();
  showForm();
  createBoard($('board'), $('promotion'), uci => { if (!userMove(uci)) render('all'); });
  wire();
  initBench();
  const ready = initBook().then(() => startNewGame());
  exposeHook(ready);
  await ready;
}

start();
