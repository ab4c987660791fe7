// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the opening book's text in the browser's IndexedDB, so that a book
// built in the page is still there after a reload.

const DB_NAME = 'zorvu';
const STORE = 'files';
const BOOK_FILE = 'open.dat';

function openDb() {
  return new Promise((resolve, reject) => {
    const req = indexedDB.open(DB_NAME, 1);
    req.onupgradeneeded = () => req.result.createObjectStore(STORE);
    req.onsuccess = () => resolve(req.result);
    req.onerror = () => reject(req.error);
  });
}

function run(mode, action) {
  return openDb().then(db => new Promise((resolve, reject) => {
    const tx = db.transaction(STORE, mode);
    const req = action(tx.objectStore(STORE));
    tx.oncomplete = () => { db.close(); resolve(req.result); };
    tx.onerror = () => { db.close(); reject(tx.error); };
  }));
}

// The stored book, '' when there is none.
export async function loadBook() {
  const text = await run('readonly', store => store.get(BOOK_FILE));
  return typeof text === 'string' ? text : '';
}

export function saveBook(text) {
  return run('readwrite', store => store.put(text, BOOK_FILE));
}
