// The game's WebAssembly module as a page drives it, under Node's WASI: where the cells
// lie, a two-player game to its end message and the menu after it, the computer's answer
// after its delay (the game's own, or the one the page asks for), the drawing of the board,
// and the save kept by the page (stored, loaded, damaged, missing, refused).
//   node web_node_test.mjs morvel.wasm
import assert from "node:assert/strict";
import { cell, find, loadGame, state } from "../tools/wasm_game.mjs";

const { exports, slot, said, press } = loadGame(process.argv[2]);

// Each cell's middle, where a press lands: row by row, from the left, on the board; none
// outside 1..56.
const centre = (n) => [Math.floor(exports.morvel_cell_centre(n) / 65536),
                       exports.morvel_cell_centre(n) % 65536];
for (let row = 1; row <= 8; ++row) {
  for (let column = 1; column <= 7; ++column) {
    const [x, y] = centre(cell(column, row));
    if (column > 1) assert.ok(x > centre(cell(column - 1, row))[0], `column ${column} row ${row}`);
    if (row > 1) assert.ok(y > centre(cell(column, row - 1))[1], `column ${column} row ${row}`);
  }
}
assert.ok(centre(1)[0] > 0 && centre(1)[1] > 0);
assert.equal(exports.morvel_cell_centre(0), 0);
assert.equal(exports.morvel_cell_centre(57), 0);

// The splash, its four seconds, the game window, its start-up tick, the menu.
said(exports.morvel_start(0));
assert.deepEqual(said(exports.morvel_shown(0))[0], ["timer", "splash", "4000"]);
assert.ok(find(said(exports.morvel_timer_due(1)), "show-game"));
assert.deepEqual(said(exports.morvel_shown(1))[0], ["timer", "start-up", "1"]);
assert.deepEqual(find(said(exports.morvel_timer_due(2)), "menu"),
                 ["menu", "two-players", "low", "0"]);

// The menu's rules are the module's: a level is chosen only against the computer, and kept
// when the player goes back to two players.
const choose = (entry) => said(exports.morvel_menu_choose(entry))[0];
assert.deepEqual(choose(3), ["menu", "two-players", "low", "0"]);
assert.deepEqual(choose(1), ["menu", "against-computer", "low", "1"]);
assert.deepEqual(choose(3), ["menu", "against-computer", "high", "1"]);
assert.deepEqual(choose(0), ["menu", "two-players", "high", "0"]);
assert.deepEqual(choose(2), ["menu", "two-players", "high", "0"]);

// Two people: the menu's labels, then each move's; the end message, then the menu.
assert.deepEqual(find(said(exports.morvel_menu_closed(0)), "labels"),
                 ["labels", "1kolo", "Hráč:1", "#0000ff"]);
assert.equal(state(said(exports.morvel_timer_due(3)))[1], "PersonToMove");
for (let turn = 0; turn < 4; ++turn) {
  assert.deepEqual(find(press(cell(2, 1)), "moved"), ["moved", "1"]);
  const answer = press(cell(1, 1));
  assert.deepEqual(find(answer, "labels"), ["labels", `${turn + 2} kolo`, "Hráč:1", "#0000ff"]);
}
const pieces = said(exports.morvel_drawing(4590, 150));
assert.equal(pieces.filter((line) => line[0] === "disc").length, 2 * 8);  // shadow and disc
assert.ok(pieces.some((line) => line[0] === "bar"));
const end = press(cell(2, 1));
assert.deepEqual(find(end, "box"), ["box", "game-over", "Konec hry hráč 2 prohrál"]);
assert.equal(state(end)[5], "1");
assert.deepEqual(find(said(exports.morvel_box_closed()), "menu"),
                 ["menu", "two-players", "low", "0"], "the menu opens at its defaults again");

// Against the computer: its move a second after the person's, with the hourglass.
choose(1);
said(exports.morvel_menu_closed(0));
said(exports.morvel_timer_due(3));
const move = press(cell(4, 4));
assert.deepEqual(find(move, "timer"), ["timer", "computer", "1000"]);
assert.equal(state(move)[4], "1");
const answer = said(exports.morvel_timer_due(4));
assert.deepEqual(find(answer, "moved"), ["moved", "2"]);
assert.equal(state(answer)[4], "0");

// The save: the board's text in the page's storage, the board alone back from it.
assert.equal(state(said(exports.morvel_save()))[5], "0");
assert.equal(slot.text.split("\r\n").length, 113);
assert.ok(slot.text.startsWith(" 0 \r\n"));
const discs = () => said(exports.morvel_drawing(4590, 150)).filter((l) => l[0] === "disc").length;
const saved = discs();
// The person's own cell (the computer may have taken any empty one).
assert.deepEqual(find(press(cell(4, 4)), "moved"), ["moved", "1"]);
assert.equal(discs(), saved + 2);
assert.ok(find(said(exports.morvel_load()), "redraw"));
assert.equal(discs(), saved, "the saved board is back");
slot.text = slot.text.slice(0, 40);
assert.match(find(said(exports.morvel_load()), "box")[2], /^Hru se nepodařilo nahrát\. /);
said(exports.morvel_box_closed());
// A slot with nothing in it: the storage's own reason, whole and no more.
slot.text = null;
assert.deepEqual(find(said(exports.morvel_load()), "box"),
                 ["box", "failure", "Hru se nepodařilo nahrát. Úložiště prohlížeče hru neobsahuje."]);
said(exports.morvel_box_closed());
slot.refusal = "Úložiště prohlížeče je plné.";
assert.deepEqual(find(said(exports.morvel_save()), "box"),
                 ["box", "failure", "Hru se nepodařilo uložit. Úložiště prohlížeče je plné."]);

// A game started with a delay of its own (the page's "?delay=") makes the computer wait
// that; a delay past a minute (the address may say anything) is the game's own.
for (const [asked, waited] of [[250, "250"], [2 ** 31 - 1, "1000"]]) {
  said(exports.morvel_start(asked));
  said(exports.morvel_shown(1));
  said(exports.morvel_timer_due(2));
  choose(1);
  said(exports.morvel_menu_closed(0));
  said(exports.morvel_timer_due(3));
  assert.deepEqual(find(press(cell(4, 4)), "timer"), ["timer", "computer", waited]);
}

// The view says what the screen shows now, and changes nothing: the board, row by row.
const view = said(exports.morvel_view());
assert.deepEqual(view.map((line) => line[0]), ["state", "turn", "board"]);
assert.deepEqual(find(view, "turn"), ["turn", "2", "1"]);
assert.equal(find(view, "board").slice(1).join(""), "0".repeat(2 * 24) + "11" + "0".repeat(2 * 31));
assert.deepEqual(said(exports.morvel_view()), view);
console.log("web_node_test: the module plays, draws and saves as the page needs");
