// SPDX-License-Identifier: GPL-3.0-or-later
// The two clocks of a timed game: the side to move's runs; a move adds the
// increment to the mover; a clock at zero calls onFlag with its colour.

const TICK_MS = 100;

const clock = {
  enabled: false,
  left: { w: 0, b: 0 },
  inc: 0,
  running: null,    // 'w', 'b' or null
  since: 0,         // performance.now() when the running clock last was read
  timer: null,
  onFlag: () => {},
  onTick: () => {},
};

// minutes and increment seconds for both sides; enabled false hides them.
export function setClock({ enabled, minutes, incSeconds, onFlag, onTick }) {
  stopClock();
  clock.enabled = enabled;
  clock.left = { w: minutes * 60000, b: minutes * 60000 };
  clock.inc = incSeconds * 1000;
  clock.onFlag = onFlag;
  clock.onTick = onTick;
  onTick();
}

function settle() {
  if (!clock.running) return;
  const now = performance.now();
  clock.left[clock.running] -= now - clock.since;
  clock.since = now;
}

// Starts the clock of color (the side to move).
export function runClock(color) {
  if (!clock.enabled) return;
  settle();
  clock.running = color;
  clock.since = performance.now();
  if (!clock.timer) clock.timer = setInterval(tick, TICK_MS);
}

// After a move by mover: its clock stops and gains the increment.
export function moveMade(mover) {
  if (!clock.enabled) return;
  settle();
  if (clock.running === mover) clock.left[mover] += clock.inc;
  clock.running = null;
  clock.onTick();
}

export function stopClock() {
  settle();
  clock.running = null;
  clearInterval(clock.timer);
  clock.timer = null;
}

function tick() {
  settle();
  clock.onTick();
  if (clock.running && clock.left[clock.running] <= 0) {
    const flagged = clock.running;
    clock.left[flagged] = 0;
    stopClock();
    clock.onTick();
    clock.onFlag(flagged);
  }
}

export function clockEnabled() {
  return clock.enabled;
}

export function timeLeft(color) {
  settle();
  return Math.max(0, Math.round(clock.left[color]));
}

export function increment() {
  return clock.inc;
}

export function clockText(ms) {
  const tenths = Math.floor(ms / 100);
  const sec = Math.floor(tenths / 10);
  const m = Math.floor(sec / 60);
  const s = String(sec % 60).padStart(2, '0');
  return ms < 10000 ? `${m}:${s}.${tenths % 10}` : `${m}:${s}`;
}
