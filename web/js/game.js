// SPDX-License-Identifier: GPL-3.0-or-later
// The game on the board: its moves from a starting position, the engine's
// evaluation after each of its searches, and its result once it is over.

import { Chess, DEFAULT_POSITION, validateFen } from 'chess.js';
import { playUci } from './format.js';

export const game = {
  chess: new Chess(),
  startFen: DEFAULT_POSITION,
  result: null,        // { score: '1-0' | '0-1' | '1/2-1/2', reason }
  evals: [],           // { ply, cp } in white's view, one per engine evaluation
  generation: 0,       // bumped at every change, so late engine answers are dropped
};

// Starts again from fen (the initial position by default). Returns an error
// message, or null; an invalid fen changes nothing.
export function resetGame(fen = DEFAULT_POSITION) {
  const trimmed = fen.trim();
  const check = validateFen(trimmed);
  if (!check.ok) return check.error;
  const chess = new Chess(trimmed);
  game.chess = chess;
  game.startFen = chess.fen();
  game.result = null;
  game.evals = [];
  game.generation++;
  return null;
}

export function fen() {
  return game.chess.fen();
}

export function turn() {
  return game.chess.turn();
}

export function plies() {
  return game.chess.history().length;
}

// Plays a move given as UCI ("e2e4", "e7e8q") or SAN ("Nf3", "O-O").
// Returns the chess.js move or null if it is not legal.
export function playMove(text) {
  if (game.result) return null;
  const move = playUci(game.chess, text) || playSan(text);
  if (move) {
    game.generation++;
    game.result = verdict(game.chess);
  }
  return move;
}

function playSan(text) {
  try {
    return game.chess.move(text.trim());
  } catch {
    return null;
  }
}

// Takes back one half-move; false when there is none.
export function undoMove() {
  if (!game.chess.undo()) return false;
  game.result = null;
  game.generation++;
  const ply = plies();
  game.evals = game.evals.filter(e => e.ply < ply);
  return true;
}

// Records the engine's evaluation of the position before half-move ply.
export function addEval(ply, cp) {
  game.evals = game.evals.filter(e => e.ply !== ply);
  game.evals.push({ ply, cp });
}

// The rules' verdict on a position, or null while the game goes on.
export function verdict(chess) {
  const loser = chess.turn();
  if (chess.isCheckmate()) return { score: loser === 'w' ? '0-1' : '1-0', reason: 'checkmate' };
  if (chess.isStalemate()) return { score: '1/2-1/2', reason: 'stalemate' };
  if (chess.isInsufficientMaterial()) return { score: '1/2-1/2', reason: 'insufficient material' };
  if (chess.isThreefoldRepetition()) return { score: '1/2-1/2', reason: 'threefold repetition' };
  if (chess.isDrawByFiftyMoves()) return { score: '1/2-1/2', reason: 'fifty-move rule' };
  return null;
}

// Ends the game for a reason the rules do not see on the board: a
// resignation or a flag fall (color is the side that lost).
export function endGame(color, reason) {
  if (game.result) return;
  let score = color === 'w' ? '0-1' : '1-0';
  // A flag falls to a draw when the other side has only its king left.
  if (reason === 'time' && onlyKing(game.chess, color === 'w' ? 'b' : 'w')) score = '1/2-1/2';
  game.result = { score, reason };
  game.generation++;
}

function onlyKing(chess, color) {
  return chess.board().flat().filter(sq => sq && sq.color === color).length === 1;
}

// The move list as "1. e4 e5 2. Nf3", numbered from the starting position.
export function moveListEntries() {
  const start = new Chess(game.startFen);
  let number = start.moveNumber();
  let side = start.turn();
  const entries = [];
  for (const san of game.chess.history()) {
    if (side === 'w') entries.push({ number, white: san, black: '' });
    else if (entries.length === 0) entries.push({ number, white: '…', black: san });
    else entries[entries.length - 1].black = san;
    if (side === 'b') number++;
    side = side === 'w' ? 'b' : 'w';
  }
  return entries;
}

// The game in PGN with its seven headers (and SetUp/FEN when it started from
// a set-up position).
export function gamePgn(white, black) {
  const chess = new Chess(game.startFen);
  for (const san of game.chess.history()) chess.move(san);
  const now = new Date();
  const date = `${now.getFullYear()}.${String(now.getMonth() + 1).padStart(2, '0')}.${String(now.getDate()).padStart(2, '0')}`;
  chess.setHeader('Event', 'Zorvu web game');
  chess.setHeader('Site', 'Zorvu web page');
  chess.setHeader('Date', date);
  chess.setHeader('White', white);
  chess.setHeader('Black', black);
  chess.setHeader('Result', game.result ? game.result.score : '*');
  if (game.startFen !== DEFAULT_POSITION) {
    chess.setHeader('SetUp', '1');
    chess.setHeader('FEN', game.startFen);
  }
  if (game.result) chess.setComment(game.result.reason);
  return chess.pgn({ maxWidth: 80 }) + '\n';
}
