// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the side panels from the page's state: clocks, result, the engine's
// thinking, analysis lines, the move list and the graph.

import { EDITIONS } from './engine.js';
import { game, moveListEntries, plies } from './game.js';
import { S } from './play.js';
import { scoreText, countText } from './format.js';
import { clockEnabled, timeLeft, clockText } from './clock.js';
import { drawGraph } from './graph.js';
import { orientation } from './board.js';

const $ = id => document.getElementById(id);
const WINNER = { '1-0': 'White wins', '0-1': 'Black wins', '1/2-1/2': 'Draw' };
const REASON = {
  checkmate: 'by checkmate',
  stalemate: 'by stalemate',
  'threefold repetition': 'by threefold repetition',
  'fifty-move rule': 'by the fifty-move rule',
  'insufficient material': 'by insufficient material',
  resignation: 'by resignation',
  time: 'on time',
};

export function editionName(id) {
  const e = EDITIONS.find(x => x.id === id);
  return e ? e.name : id;
}

export function resultText(result) {
  if (!result) return '';
  return `${result.score} · ${WINNER[result.score]} ${REASON[result.reason] || result.reason}`;
}

export function renderClocks() {
  const top = $('clock-top');
  const bottom = $('clock-bottom');
  const on = clockEnabled();
  top.hidden = bottom.hidden = !on;
  if (!on) return;
  const down = orientation() === 'white' ? 'w' : 'b';
  const up = down === 'w' ? 'b' : 'w';
  const running = !game.result && (S.mode === 'play' || S.matchRunning) ? game.chess.turn() : null;
  for (const [el, color] of [[top, up], [bottom, down]]) {
    el.textContent = `${color === 'w' ? 'White' : 'Black'} ${clockText(timeLeft(color))}`;
    el.classList.toggle('running', running === color);
    el.dataset.color = color;
  }
}

export function renderThinking() {
  const t = S.thinking;
  const info = t ? t.info : {};
  $('t-depth').textContent = t ? `${info.depth}${info.seldepth ? '/' + info.seldepth : ''}` : '–';
  $('t-score').textContent = t ? scoreText(t.score) : '–';
  $('t-nodes').textContent = t ? countText(info.nodes) : '–';
  $('t-nps').textContent = t && info.nps !== undefined ? `${countText(info.nps)}/s` : '–';
  $('t-pv').textContent = t ? t.san : '';
  $('engine-name').textContent = t ? editionName(t.edition) : '';
  const lines = $('lines');
  lines.hidden = S.mode !== 'analysis';
  lines.replaceChildren(...S.lines.filter(Boolean).map(line => {
    const li = document.createElement('li');
    const score = document.createElement('span');
    score.className = 'line-score';
    score.textContent = scoreText(line.score);
    const depth = document.createElement('span');
    depth.className = 'line-depth';
    depth.textContent = `d${line.info.depth}`;
    li.append(score, ' ', depth, ' ', line.san);
    return li;
  }));
  drawGraph($('graph'), game.evals, plies());
}

export function renderMoves() {
  const list = $('moves');
  list.replaceChildren(...moveListEntries().map(entry => {
    const li = document.createElement('li');
    li.value = entry.number;
    const w = document.createElement('span');
    w.className = 'move';
    w.textContent = entry.white;
    const b = document.createElement('span');
    b.className = 'move';
    b.textContent = entry.black;
    li.append(w, b);
    return li;
  }));
  list.scrollTop = list.scrollHeight;
  $('result').textContent = resultText(game.result);
}
