// SPDX-License-Identifier: GPL-3.0-or-later
// The board on screen: chessground drawing a chess.js position, the legal
// destinations of the side that may move, and a picker for promotions.

import { Chessground } from 'chessground';
import { SQUARES } from 'chess.js';

const COLOR_NAME = { w: 'white', b: 'black' };
const PROMOTIONS = [['q', 'Queen', '♕'], ['r', 'Rook', '♖'], ['b', 'Bishop', '♗'], ['n', 'Knight', '♘']];

const view = {
  cg: null,
  el: null,
  picker: null,
  onMove: () => {},    // called with "e2e4" / "e7e8q" for a move made on the board
  orientation: 'white',
  lastShown: null,     // the chess.js game last drawn, to redraw after a cancelled promotion
  movable: null,
};

export function createBoard(el, pickerEl, onMove) {
  view.el = el;
  view.picker = pickerEl;
  view.onMove = onMove;
  view.cg = Chessground(el, {
    coordinates: true,
    animation: { enabled: true, duration: 150 },
    highlight: { lastMove: true, check: true },
    movable: { free: false, showDests: true, events: { after: afterBoardMove } },
    premovable: { enabled: false },
    draggable: { enabled: true, showGhost: true },
    drawable: { enabled: true },
  });
  new ResizeObserver(() => view.cg.redrawAll()).observe(el);
  pickerEl.addEventListener('keydown', ev => { if (ev.key === 'Escape') cancelPromotion(); });
}

// Legal destinations per square, in chessground's form.
function destinations(chess) {
  const dests = new Map();
  for (const sq of SQUARES) {
    const moves = chess.moves({ square: sq, verbose: true });
    if (moves.length) dests.set(sq, [...new Set(moves.map(m => m.to))]);
  }
  return dests;
}

// Draws the position of chess. movableColor: 'w', 'b', 'both' or null (no
// one may move on the board).
export function showPosition(chess, movableColor) {
  hidePicker();
  view.lastShown = chess;
  view.movable = movableColor;
  const history = chess.history({ verbose: true });
  const last = history[history.length - 1];
  const color = movableColor === 'both' ? 'both' : COLOR_NAME[movableColor];
  view.cg.set({
    fen: chess.fen(),
    turnColor: COLOR_NAME[chess.turn()],
    check: chess.inCheck(),
    lastMove: last ? [last.from, last.to] : undefined,
    movable: {
      color: color || undefined,
      dests: color ? destinations(chess) : new Map(),
    },
  });
}

export function setOrientation(color) {
  view.orientation = color;
  view.cg.set({ orientation: color });
}

export function flipBoard() {
  setOrientation(view.orientation === 'white' ? 'black' : 'white');
}

export function orientation() {
  return view.orientation;
}

export function setArrows(shapes) {
  view.cg.setAutoShapes(shapes);
}

function afterBoardMove(orig, dest) {
  const chess = view.lastShown;
  const moves = chess.moves({ square: orig, verbose: true }).filter(m => m.to === dest);
  if (moves.some(m => m.promotion)) askPromotion(orig, dest);
  else view.onMove(orig + dest);
}

function askPromotion(orig, dest) {
  const p = view.picker;
  p.replaceChildren();
  const color = view.lastShown.turn();
  for (const [letter, name, glyph] of PROMOTIONS) {
    const b = document.createElement('button');
    b.type = 'button';
    b.className = `promo promo-${color}`;
    b.dataset.piece = letter;
    b.title = name;
    b.setAttribute('aria-label', `Promote to ${name.toLowerCase()}`);
    b.textContent = glyph;
    b.addEventListener('click', () => { hidePicker(); view.onMove(orig + dest + letter); });
    p.append(b);
  }
  const cancel = document.createElement('button');
  cancel.type = 'button';
  cancel.className = 'promo-cancel';
  cancel.textContent = '✕';
  cancel.setAttribute('aria-label', 'Cancel the promotion');
  cancel.addEventListener('click', cancelPromotion);
  p.append(cancel);
  p.hidden = false;
  p.querySelector('button').focus();
}

function hidePicker() {
  if (view.picker) view.picker.hidden = true;
}

function cancelPromotion() {
  hidePicker();
  if (view.lastShown) showPosition(view.lastShown, view.movable);
}
