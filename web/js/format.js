// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the engine's numbers into what the page shows: scores from white's
// point of view, node counts and speeds, and lines of play in SAN.

import { Chess } from 'chess.js';

// The graph's and the bar's limit: ten pawns, which is also where a mate is drawn.
export const SCORE_CLAMP_CP = 1000;

// The engine scores for the side to move; the page shows white's view.
export function whiteScore(score, turn) {
  const sign = turn === 'w' ? 1 : -1;
  if (score.mate !== undefined) return { mate: sign * score.mate };
  return { cp: sign * score.cp };
}

// "+0.31", "-1.25", "#3" (white mates) or "#-3" (black mates).
export function scoreText(score) {
  if (score.mate !== undefined) return `#${score.mate}`;
  const pawns = (score.cp / 100).toFixed(2);
  return score.cp > 0 ? `+${pawns}` : pawns;
}

// A score as centipawns for the graph, mates at the limit.
export function scoreCp(score) {
  if (score.mate !== undefined) return score.mate >= 0 ? SCORE_CLAMP_CP : -SCORE_CLAMP_CP;
  return Math.max(-SCORE_CLAMP_CP, Math.min(SCORE_CLAMP_CP, score.cp));
}

export function countText(n) {
  if (n === undefined) return '';
  if (n >= 1e9) return `${(n / 1e9).toFixed(2)} G`;
  if (n >= 1e6) return `${(n / 1e6).toFixed(2)} M`;
  if (n >= 1e4) return `${(n / 1e3).toFixed(1)} k`;
  return String(n);
}

// Plays a move given as "e2e4" or "e7e8q" on a chess.js game; returns the
// chess.js move, or null when it is not legal there.
export function playUci(chess, uci) {
  if (!/^[a-h][1-8][a-h][1-8][qrbn]?$/.test(uci)) return null;
  try {
    return chess.move({ from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci[4] });
  } catch {
    return null;
  }
}

// A pv of UCI moves as numbered SAN from the position fen, stopping at the
// first move that is not legal (a line from an older position, say).
export function pvSan(fen, pv) {
  const chess = new Chess(fen);
  const out = [];
  for (const uci of pv) {
    const turn = chess.turn();
    const number = chess.moveNumber();
    const move = playUci(chess, uci);
    if (!move) break;
    if (turn === 'w') out.push(`${number}. ${move.san}`);
    else out.push(out.length === 0 ? `${number}... ${move.san}` : move.san);
  }
  return out.join(' ');
}
