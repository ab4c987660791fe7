// SPDX-License-Identifier: GPL-3.0-or-later
// The opening book's buttons: add the last move played, export open.dat,
// import a file in its place. The text is kept in IndexedDB and handed to
// every engine started after it changed.

import { Chess } from 'chess.js';
import { game } from './game.js';
import { bookKey, addBookMove } from './book.js';
import { loadBook, saveBook } from './bookstore.js';
import { S, setBook } from './play.js';
import { downloadText } from './files.js';

const $ = id => document.getElementById(id);

function showInfo() {
  const lines = S.book.split('\n').filter(Boolean).length;
  $('book-info').textContent = lines
    ? `The book holds ${lines} line${lines === 1 ? '' : 's'} (${S.book.length} bytes).`
    : 'The book is empty: the engines play without one.';
}

async function store(text) {
  await saveBook(text);
  setBook(text);
  showInfo();
}

async function addMove(move) {
  if (!move) { S.say('No move has been played yet.'); return; }
  const key = bookKey(new Chess(move.before).board());
  const side = move.color === 'w' ? 0 : 1;
  const added = addBookMove(S.book, key, side, move.from, move.to);
  if (added.error) { S.say(added.error); return; }
  await store(added.text);
  S.say(`${move.san} is in the book.`);
}

async function importFile(file) {
  const text = await file.text();
  await store(text);
  S.say(`The book is now ${file.name}.`);
}

// Book changes run one after another: each reads the text the one before it
// stored, so that two quick clicks both land.
let queue = Promise.resolve();
function queued(action) {
  queue = queue.then(action).catch(err => S.say(String(err.message || err)));
  return queue;
}

export async function initBook() {
  try {
    setBook(await loadBook());
  } catch (err) {
    S.say(`The stored book could not be read: ${err.message || err}`);
  }
  showInfo();
  $('book-add').addEventListener('click', () => {
    // The move is the one on the board at the click, whenever its turn comes.
    const history = game.chess.history({ verbose: true });
    const move = history[history.length - 1];
    queued(() => addMove(move));
  });
  $('book-export').addEventListener('click', () => downloadText('open.dat', S.book));
  $('book-import-button').addEventListener('click', () => $('book-import').click());
  $('book-import').addEventListener('change', ev => {
    const file = ev.target.files[0];
    if (file) queued(() => importFile(file));
    ev.target.value = '';
  });
}
