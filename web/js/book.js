// SPDX-License-Identifier: GPL-3.0-or-later
// The opening book's text format (open.dat): one line per position and side,
//   <key> /<side>/<from>,<to>/<from>,<to>/...
// where the key is the board from rank 8 to rank 1 in the engine's own piece
// letters and squares count from a8 = 0 to h1 = 63.

// chess.js piece types to the book's letters: pawn, knight, bishop, rook,
// queen, king are P C A T D R.
const BOOK_LETTER = { p: 'P', n: 'C', b: 'A', r: 'T', q: 'D', k: 'R' };
const FILES = 'abcdefgh';
// The engine reads a line into a buffer of this size, newline included.
export const MAX_LINE = 255;

// The key of a position given as a chess.js board() (rank 8 first).
export function bookKey(board) {
  return board.map(rank => {
    let out = '';
    let empty = 0;
    for (const sq of rank) {
      if (!sq) { empty++; continue; }
      if (empty) { out += empty; empty = 0; }
      const letter = BOOK_LETTER[sq.type];
      out += sq.color === 'w' ? letter : letter.toLowerCase();
    }
    return empty ? out + empty : out;
  }).join(',');
}

// "e2" -> 52: a8 is 0, h8 is 7, a1 is 56.
export function bookSquare(name) {
  const file = FILES.indexOf(name[0]);
  const rank = Number(name[1]);
  return (8 - rank) * 8 + file;
}

// Adds a move to the book text: the move is appended to the first line of its
// position and side, or a new line is written for them. Returns { text } or
// { error } when the line would grow past what the engine reads.
export function addBookMove(text, key, side, from, to) {
  const entry = `${bookSquare(from)},${bookSquare(to)}/`;
  const head = `${key} /${side}/`;
  const lines = text.split('\n');
  if (lines.length && lines[lines.length - 1] === '') lines.pop();
  const at = lines.findIndex(line => line.startsWith(head));
  const line = at >= 0 ? lines[at] + entry : head + entry;
  if (line.length >= MAX_LINE) {
    return { error: `The book's line for this position would be ${line.length} characters long; the engine reads at most ${MAX_LINE - 1}.` };
  }
  if (at >= 0) lines[at] = line; else lines.push(line);
  return { text: lines.join('\n') + '\n' };
}

// The moves the book offers in a position, as [from, to] square numbers.
export function bookMoves(text, key, side) {
  const head = `${key} /${side}/`;
  const line = text.split('\n').find(l => l.startsWith(head));
  if (!line) return [];
  return line.slice(head.length).split('/').filter(Boolean).map(pair => pair.split(',').map(Number));
}
