// SPDX-License-Identifier: GPL-3.0-or-later
// Who moves and when: a game against one engine, analysis (the engine thinks
// on every position with several lines), and a match of two engines, each in
// its own worker. The engines' answers are tied to the game's generation so
// that one arriving after a take back or a new game is dropped.

import { DEFAULT_POSITION } from 'chess.js';
import { game, resetGame, playMove, undoMove, endGame, turn, fen, plies, addEval } from './game.js';
import { openEngine, closeEngine, search, stopSearch, setOptionIdle, newGame, isSearching } from './uci.js';
import { whiteScore, scoreCp, pvSan } from './format.js';
import { setClock, runClock, moveMade, stopClock, clockEnabled, timeLeft, increment } from './clock.js';

const MS_PER_SECOND = 1000;

export const S = {
  mode: 'play',                 // 'play', 'analysis' or 'match'
  settings: { edition: '35', human: 'w', white: '35', black: '30', time: { kind: 'move', seconds: 1, minutes: 3, inc: 2 }, multipv: 3 },
  engines: {},                  // slot ('main', 'w', 'b') -> { promise, engine, edition, bookVersion }
  book: '',
  bookVersion: 0,
  matchRunning: false,
  analysing: false,
  thinking: null,               // { info, score (white's view), san, edition } of the last search line
  lines: [],                    // analysis: per multipv { depth, score, san, move }
  lastStopToBest: null,         // ms from a stop to its bestmove, the last time
  render: () => {},             // redraws the page
  say: () => {},                // shows a message
};

// Applies the settings read from the form; colour and time count from the next game.
export function configure(settings) {
  S.settings = settings;
}

export function setBook(text) {
  S.book = text;
  S.bookVersion++;
}

function slotEdition(slot) {
  if (slot === 'w') return S.settings.white;
  if (slot === 'b') return S.settings.black;
  return S.settings.edition;
}

// The engine for a slot, started again when its edition or the book changed
// since it was started.
async function engineFor(slot) {
  const want = slotEdition(slot);
  let entry = S.engines[slot];
  const ended = entry && entry.engine && entry.engine.closed;
  if (entry && (ended || entry.edition !== want || (entry.bookVersion !== S.bookVersion && !isSearching(entry.engine)))) {
    closeEngine(entry.engine);
    entry = null;
  }
  if (!entry) {
    entry = { edition: want, bookVersion: S.bookVersion, engine: null, multipv: 1 };
    entry.promise = openEngine(want, { book: S.book }).then(e => (entry.engine = e));
    S.engines[slot] = entry;
    S.say(`Starting edition ${want}…`);
    entry.promise.then(() => S.say(''), err => S.say(`The engine did not start: ${err.message || err}`));
  }
  try {
    await entry.promise;
  } catch {
    return null;
  }
  return S.engines[slot] === entry && !entry.engine.closed ? entry : null;
}

async function stopAll() {
  const waits = Object.values(S.engines).map(entry => (entry.engine ? stopSearch(entry.engine) : Promise.resolve()));
  await Promise.all(waits);
}

function closeUnused() {
  const used = S.mode === 'match' ? ['w', 'b'] : ['main'];
  for (const [slot, entry] of Object.entries(S.engines)) {
    if (!used.includes(slot)) {
      closeEngine(entry.engine);
      entry.promise.then(e => closeEngine(e), () => {});
      delete S.engines[slot];
    }
  }
}

function positionCommand() {
  const moves = game.chess.history({ verbose: true }).map(m => m.lan);
  const base = game.startFen === DEFAULT_POSITION ? 'position startpos' : `position fen ${game.startFen}`;
  return moves.length ? `${base} moves ${moves.join(' ')}` : base;
}

function goCommand() {
  const t = S.settings.time;
  if (t.kind === 'move') return `go movetime ${Math.max(1, Math.round(t.seconds * MS_PER_SECOND))}`;
  const inc = increment();
  return `go wtime ${timeLeft('w')} btime ${timeLeft('b')} winc ${inc} binc ${inc}`;
}

function startClocks() {
  const t = S.settings.time;
  setClock({
    enabled: S.mode !== 'analysis' && t.kind === 'clock',
    minutes: t.minutes,
    incSeconds: t.inc,
    onFlag: color => { endGame(color, 'time'); afterChange(); },
    onTick: () => S.render('clock'),
  });
}

// Starts a new game from fen (the initial position by default): an error
// message for an invalid fen, which changes nothing.
export async function newGameFrom(fenText = DEFAULT_POSITION) {
  const error = resetGame(fenText);
  if (error) return error;
  S.matchRunning = S.mode === 'match';
  S.thinking = null;
  S.lines = [];
  await stopAll();
  closeUnused();
  for (const entry of Object.values(S.engines)) if (entry.engine && !entry.engine.closed) newGame(entry.engine);
  startClocks();
  afterChange();
  return null;
}

export async function setMode(mode) {
  S.mode = mode;
  S.matchRunning = false;
  S.analysing = false;
  game.generation++;
  await stopAll();
  closeUnused();
  S.lines = [];
  startClocks();
  afterChange();
}

// What the board lets the user move: 'w', 'b', 'both' or null.
export function movableColor() {
  if (game.result) return null;
  if (S.mode === 'analysis') return 'both';
  if (S.mode === 'play' && turn() === S.settings.human) return S.settings.human;
  return null;
}

// Plays the user's move; false when it is not legal or not theirs to make.
export function userMove(text) {
  const mover = turn();
  const allowed = movableColor();
  if (!allowed || (allowed !== 'both' && allowed !== mover)) return false;
  const move = playMove(text);
  if (!move) return false;
  moveMade(mover);
  afterChange();
  return true;
}

// Called after every change of the position or the result: starts whatever
// must happen next.
export function afterChange() {
  S.render('all');
  if (game.result) {
    stopClock();
    S.matchRunning = false;
    stopAll();
    return;
  }
  if (S.mode === 'analysis') {
    analyse();
  } else if (S.mode === 'play') {
    runClock(turn());
    if (turn() !== S.settings.human) engineMove('main');
  } else if (S.matchRunning) {
    runClock(turn());
    engineMove(turn());
  } else {
    stopClock();
  }
}

async function engineMove(slot) {
  const gen = game.generation;
  const color = turn();
  const entry = await engineFor(slot);
  if (!entry || gen !== game.generation) return;
  if (entry.multipv !== 1) {
    // A game needs only the best line; analysis may have asked for more.
    await setOptionIdle(entry.engine, 'MultiPV', 1);
    entry.multipv = 1;
    if (gen !== game.generation) return;
  }
  const searched = fen();
  const ply = plies();
  let last = null;
  const result = await search(entry.engine, positionCommand(), goCommand(), info => {
    if (gen !== game.generation || info.multipv !== 1 || !info.score) return;
    last = info;
    S.thinking = thinkingOf(info, searched, color, entry.edition);
    S.render('thinking');
  });
  if (!result || gen !== game.generation) return;
  if (result.stopped) S.lastStopToBest = entry.engine.lastStopToBest;
  if (last) addEval(ply, scoreCp(whiteScore(last.score, color)));
  if (!result.move) return;
  if (playMove(result.move)) {
    moveMade(color);
    afterChange();
  } else {
    S.say(`The engine answered ${result.move}, which is not legal here.`);
  }
}

function thinkingOf(info, searched, color, edition) {
  return {
    info,
    score: whiteScore(info.score, color),
    san: info.pv ? pvSan(searched, info.pv) : '',
    move: info.pv ? info.pv[0] : null,
    edition,
  };
}

async function analyse() {
  const gen = game.generation;
  const entry = await engineFor('main');
  if (!entry || gen !== game.generation || S.mode !== 'analysis') return;
  if (entry.multipv !== S.settings.multipv) {
    await setOptionIdle(entry.engine, 'MultiPV', S.settings.multipv);
    entry.multipv = S.settings.multipv;
    if (gen !== game.generation) return;
  }
  const searched = fen();
  const color = turn();
  const ply = plies();
  // The engine reports a depth's lines one by one, best first: the lines
  // shown are the last depth whose lines all came, so that an older depth's
  // line never stands beside a newer one with the same move.
  const wanted = Math.min(S.settings.multipv, game.chess.moves().length);
  let building = [];
  let buildingDepth = 0;
  S.lines = [];
  S.analysing = true;
  S.render('thinking');
  const result = await search(entry.engine, positionCommand(), 'go infinite', info => {
    if (gen !== game.generation || !info.score || !info.pv) return;
    const line = thinkingOf(info, searched, color, entry.edition);
    if (info.depth !== buildingDepth) { building = []; buildingDepth = info.depth; }
    building[info.multipv - 1] = line;
    const complete = building.filter(Boolean).length >= wanted;
    if (complete || S.lines.filter(Boolean).length < wanted) S.lines = building.slice();
    if (info.multipv === 1) {
      S.thinking = line;
      addEval(ply, scoreCp(line.score));
    }
    S.render('thinking');
  });
  if (gen === game.generation && result) {
    S.analysing = false;
    if (result.stopped) S.lastStopToBest = entry.engine.lastStopToBest;
    S.render('thinking');
  }
}

// The Stop button: the engine plays its best move so far in a game, analysis
// pauses, a match ends.
export async function stopPressed() {
  if (S.mode === 'match') {
    S.matchRunning = false;
    game.generation++;
    stopClock();
  } else if (S.mode === 'analysis') {
    game.generation++;
    S.analysing = false;
  }
  const searching = Object.values(S.engines).filter(e => e.engine && isSearching(e.engine)).map(e => e.engine);
  await stopAll();
  if (searching.length) S.lastStopToBest = Math.max(...searching.map(e => e.lastStopToBest));
  S.render('all');
}

// The Go button: analysis and matches go on from the board's position; in a
// game the engine moves if it is its turn.
export function goPressed() {
  if (game.result) return;
  if (S.mode === 'match') S.matchRunning = true;
  if (S.mode === 'match' && !clockEnabled()) startClocks();
  if (Object.values(S.engines).some(e => e.engine && isSearching(e.engine))) return;
  afterChange();
}

// Takes back the engine's reply and the user's move (in analysis, one
// half-move), after stopping a search.
export async function takeBack() {
  if (S.mode === 'match') S.matchRunning = false;
  game.generation++;
  await stopAll();
  if (!plies()) { afterChange(); return; }
  if (S.mode === 'play') {
    do {
      if (!undoMove()) break;
    } while (plies() && turn() !== S.settings.human);
  } else {
    undoMove();
  }
  S.thinking = null;
  S.lines = [];
  afterChange();
}

export function resign() {
  if (S.mode !== 'play' || game.result) return;
  endGame(S.settings.human, 'resignation');
  afterChange();
}

// The last stop's delay, and whether any engine is searching, for the page's test hook.
export function enginesBusy() {
  return Object.values(S.engines).some(e => e.engine && isSearching(e.engine));
}
