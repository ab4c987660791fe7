// SPDX-License-Identifier: GPL-3.0-or-later
// One engine program in its worker, spoken to in UCI: the handshake, options,
// and one search at a time. A search asked for while another runs stops that
// one first and starts once its bestmove is in, so that the program never
// gets a new position in the middle of a search.

import { startEngine } from './engine.js';

// Parses "info ..." into its fields; null for a line without a score or pv
// (such as "info string ...").
export function parseInfo(line) {
  const words = line.split(' ');
  if (words[1] === 'string') return null;
  const info = { multipv: 1 };
  for (let i = 1; i < words.length; i++) {
    const w = words[i];
    if (w === 'depth' || w === 'seldepth' || w === 'multipv' || w === 'nodes' || w === 'nps' || w === 'time') {
      info[w] = Number(words[++i]);
    } else if (w === 'score') {
      const kind = words[++i];
      info.score = { [kind]: Number(words[++i]) };
      if (words[i + 1] === 'lowerbound' || words[i + 1] === 'upperbound') info.bound = words[++i];
    } else if (w === 'pv') {
      info.pv = words.slice(i + 1);
      break;
    }
  }
  return info.score || info.pv ? info : null;
}

// Starts an edition's program and waits until it has said uciok and readyok.
// options: { name: value } sent with setoption before the first isready.
export async function openEngine(id, { book = '', options = {}, onLine = () => {} } = {}) {
  const e = {
    id,
    name: id,
    searching: null,   // { resolve, onInfo, stopAt } of the running search
    pending: null,     // the search to start once the running one is over
    waiters: [],       // [word, resolve] waiting for "uciok" or "readyok"
    lastBestAt: 0,     // performance.now() of the last bestmove
    lastStopToBest: null,
    closed: false,
  };
  let failed = null;
  e.worker = startEngine(id, {
    book,
    onLine: line => { onLine(line); handleLine(e, line); },
    // A program that ends (or never starts) answers nothing more: whoever
    // waits for it is let go.
    onExit: status => { failed = `the program ended (${status})`; closeEngine(e); },
  });
  e.worker.send('uci');
  await waitFor(e, 'uciok');
  if (failed) throw new Error(failed);
  for (const [name, value] of Object.entries(options)) setOption(e, name, value);
  e.worker.send('isready');
  await waitFor(e, 'readyok');
  if (failed) throw new Error(failed);
  return e;
}

function waitFor(e, word) {
  return new Promise(resolve => e.waiters.push([word, resolve]));
}

function handleLine(e, line) {
  if (line.startsWith('info ')) {
    const info = e.searching && parseInfo(line);
    if (info) e.searching.onInfo(info);
  } else if (line.startsWith('bestmove')) {
    finishSearch(e, line.split(' '));
  } else if (line.startsWith('id name ')) {
    e.name = line.slice('id name '.length);
  } else {
    const at = e.waiters.findIndex(([word]) => word === line.trim());
    if (at >= 0) e.waiters.splice(at, 1)[0][1]();
  }
}

function finishSearch(e, words) {
  const s = e.searching;
  e.searching = null;
  e.lastBestAt = performance.now();
  if (s) {
    if (s.stopAt !== null) e.lastStopToBest = e.lastBestAt - s.stopAt;
    const move = words[1] && words[1] !== '0000' && words[1] !== '(none)' ? words[1] : null;
    s.resolve({ move, ponder: words[3] || null, stopped: s.stopAt !== null });
  }
  if (e.pending) {
    const p = e.pending;
    e.pending = null;
    begin(e, p);
  }
}

export function setOption(e, name, value) {
  e.worker.send(value === undefined ? `setoption name ${name}` : `setoption name ${name} value ${value}`);
}

// Sends an option between searches: waits for a running one to be stopped.
export async function setOptionIdle(e, name, value) {
  await stopSearch(e);
  setOption(e, name, value);
}

// Searches: position is the full "position ..." command, go the "go ..." one.
// Resolves with { move, ponder, stopped }, or null when a later search or
// the engine's end took its place before it started.
export function search(e, position, go, onInfo = () => {}) {
  return new Promise(resolve => {
    const job = { position, go, onInfo, resolve, stopAt: null };
    if (e.closed) { resolve(null); return; }
    if (!e.searching) { begin(e, job); return; }
    if (e.pending) e.pending.resolve(null);
    e.pending = job;
    requestStop(e);
  });
}

function begin(e, job) {
  e.searching = job;
  e.worker.send(job.position);
  e.worker.send(job.go);
}

function requestStop(e) {
  if (e.searching && e.searching.stopAt === null) {
    e.searching.stopAt = performance.now();
    e.worker.send('stop');
  }
}

// Stops the running search (its bestmove still resolves its promise) and
// resolves once the engine is idle. A search that was waiting is dropped.
export function stopSearch(e) {
  if (e.pending) { e.pending.resolve(null); e.pending = null; }
  if (!e.searching) return Promise.resolve();
  return new Promise(resolve => {
    const s = e.searching;
    const done = s.resolve;
    s.resolve = result => { done(result); resolve(); };
    requestStop(e);
  });
}

export function isSearching(e) {
  return Boolean(e && e.searching);
}

export function newGame(e) {
  e.worker.send('ucinewgame');
}

// Ends the worker at once; a running or waiting search resolves with null.
export function closeEngine(e) {
  if (!e || e.closed) return;
  e.closed = true;
  e.worker.terminate();
  if (e.pending) e.pending.resolve(null);
  if (e.searching) e.searching.resolve(null);
  e.pending = e.searching = null;
  for (const [, resolve] of e.waiters) resolve();
  e.waiters = [];
}
