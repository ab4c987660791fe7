// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation graph: one point per engine evaluation over the game so far,
// white's view, clamped to ten pawns either way.

import { SCORE_CLAMP_CP } from './format.js';

const SVG_NS = 'http://www.w3.org/2000/svg';
const WIDTH = 300;
const HEIGHT = 80;

export function drawGraph(svg, evals, totalPlies) {
  svg.setAttribute('viewBox', `0 0 ${WIDTH} ${HEIGHT}`);
  // The graph stretches to the panel's width; its lines keep their thickness.
  svg.setAttribute('preserveAspectRatio', 'none');
  svg.replaceChildren();
  const mid = HEIGHT / 2;
  svg.append(el('line', { x1: 0, y1: mid, x2: WIDTH, y2: mid, class: 'graph-axis' }));
  const points = [...evals].sort((a, b) => a.ply - b.ply);
  if (!points.length) return;
  const span = Math.max(totalPlies, points[points.length - 1].ply, 1);
  const x = ply => (ply / span) * WIDTH;
  const y = cp => mid - (cp / SCORE_CLAMP_CP) * (mid - 2);
  const coords = points.map(p => `${x(p.ply).toFixed(1)},${y(p.cp).toFixed(1)}`);
  svg.append(el('polygon', { points: `${x(points[0].ply).toFixed(1)},${mid} ${coords.join(' ')} ${x(points[points.length - 1].ply).toFixed(1)},${mid}`, class: 'graph-area' }));
  svg.append(el('polyline', { points: coords.join(' '), class: 'graph-line' }));
}

function el(name, attrs) {
  const e = document.createElementNS(SVG_NS, name);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
  return e;
}
