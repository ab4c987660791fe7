// SPDX-License-Identifier: GPL-3.0-or-later
// The Bench button: each edition's signature bench in turn, its node count
// and speed in a table.

import { EDITIONS, runBench } from './engine.js';

const $ = id => document.getElementById(id);
export const benchResults = [];

function cell(text) {
  const td = document.createElement('td');
  td.textContent = text;
  return td;
}

async function runAll(button) {
  button.disabled = true;
  benchResults.length = 0;
  const rows = $('bench-rows');
  rows.replaceChildren();
  for (const edition of EDITIONS) {
    const tr = document.createElement('tr');
    const nodes = cell('running…');
    const nps = cell('');
    tr.append(cell(edition.name), nodes, nps);
    rows.append(tr);
    try {
      const r = await runBench(edition.id);
      nodes.textContent = r.nodes.toLocaleString('en');
      nps.textContent = r.nps.toLocaleString('en');
      benchResults.push({ id: edition.id, ...r });
    } catch (err) {
      nodes.textContent = `failed: ${err.message || err}`;
    }
  }
  button.disabled = false;
}

export function initBench() {
  const button = $('bench');
  button.addEventListener('click', () => runAll(button));
}
