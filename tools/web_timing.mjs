// How long the game's WebAssembly module takes, under Node's WASI (the engine Chromium has
// too), for what the page asks of it on each move: a person's move (the press, its effects
// as text, and the drawing list of the board after it) and a computer's turn at each level
// (the timer, the choice and its move, the effects, the drawing list). Games from their
// start to their end, with cells chosen by a seeded random sequence; medians and the 95th
// percentile of every move.
//   node tools/web_timing.mjs morvel.wasm [GAMES]   (20 of each kind unless told)
import { cell, find, loadGame, state } from "./wasm_game.mjs";

const games = Number(process.argv[3] || 20);
const { exports, said, press } = loadGame(process.argv[2]);

let seed = 2026;
const next = (below) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor(seed / 65536) % below;  // the low bits repeat soon
};
const timed = (work) => {
  const start = process.hrtime.bigint();
  const lines = work();
  said(exports.morvel_drawing(4590, 150));
  return [Number(process.hrtime.bigint() - start) / 1e6, lines];
};

said(exports.morvel_start(0));
said(exports.morvel_shown(0));
said(exports.morvel_timer_due(1));
said(exports.morvel_shown(1));
said(exports.morvel_timer_due(2));

// One game from the menu to its end message: the times of the person's moves and the
// computer's turns.
function play(againstComputer, high, person, computer) {
  said(exports.morvel_menu_choose(againstComputer ? 1 : 0));
  said(exports.morvel_menu_choose(high ? 3 : 2));
  said(exports.morvel_menu_closed(0));
  let lines = said(exports.morvel_timer_due(3));
  for (let presses = 0; presses < 5000; ++presses) {
    if (find(lines, "box")) {
      said(exports.morvel_box_closed());
      return;
    }
    if (state(lines)[1] === "ComputerArmed") {
      const [ms, answer] = timed(() => said(exports.morvel_timer_due(4)));
      computer.push(ms);
      lines = answer;
      continue;
    }
    const [ms, answer] = timed(() => press(cell(1 + next(7), 1 + next(8))));
    if (find(answer, "moved")) person.push(ms);
    lines = answer;
  }
  said(exports.morvel_escape());  // a game that would not end: back to the menu
}

const percentile = (list, p) => {
  const sorted = [...list].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
};
const report = (what, list) =>
  console.log(`${what}: median ${(percentile(list, 0.5) * 1000).toFixed(0)} µs, ` +
              `95th percentile ${(percentile(list, 0.95) * 1000).toFixed(0)} µs, ` +
              `${list.length} moves`);

for (const [what, againstComputer, high] of [["two players", 0, 0],
                                             ["against the low level", 1, 0],
                                             ["against the high level", 1, 1]]) {
  const person = [], computer = [];
  for (let game = 0; game < games; ++game) play(againstComputer, high, person, computer);
  report(`${what}, a person's move and its drawing`, person);
  if (computer.length) report(`${what}, the computer's turn and its drawing`, computer);
}
