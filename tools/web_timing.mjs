// How long the game's WebAssembly module takes, under Node (V8, the engine Chromium has
// too), through the page's own seam, for what the page asks of it on each move: a
// person's move (the press, the module's calls to the page that paint the view and draw
// the board and the bar) and a computer's turn at each level (the timer, the choice and
// its move, the same calls). Games from their start to their end, with cells chosen by a
// seeded random sequence; medians and the 95th percentile of every move.
//   node tools/web_timing.mjs morvel.wasm [GAMES]   (20 of each kind unless told)
import { cell, loadGame } from "./wasm_game.mjs";

const games = Number(process.argv[3] || 20);
const { game, screen, tick, press } = await loadGame(process.argv[2]);

let seed = 2026;
const next = (below) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor(seed / 65536) % below;  // the low bits repeat soon
};
const timed = (work) => {
  const start = process.hrtime.bigint();
  work();
  return Number(process.hrtime.bigint() - start) / 1e6;
};

game.describe();
game.start(0);
const middles = game.view().middles;
game.shown(screen.shown);
tick();
game.shown(screen.shown);
tick();

// One game from the menu to its end message: the times of the person's moves and the
// computer's turns.
function play(againstComputer, high, person, computer) {
  press(againstComputer ? "jhra1" : "jhra0");
  press(high ? "obtt1" : "obtt0");
  press("pp3");
  tick();
  for (let presses = 0; presses < 5000; ++presses) {
    if (screen.dialog === "box") {
      game.dialogClosed();
      return;
    }
    if (screen.timer) {
      computer.push(timed(tick));
      continue;
    }
    const moves = screen.moves;
    const ms = timed(() => game.pressed(...middles[cell(1 + next(7), 1 + next(8)) - 1]));
    if (screen.moves > moves) person.push(ms);
  }
  game.escape();  // a game that would not end: back to the menu
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
