// The game's WebAssembly module as a page drives it, under Node's WASI: a two-player game
// to its end message and the menu after it, the computer's answer after its delay, the
// drawing of the board, and the save kept by the page (stored, refused, damaged).
//   node web_node_test.mjs morvel.wasm
import { readFileSync } from "node:fs";
import { WASI } from "node:wasi";
import assert from "node:assert/strict";

const wasi = new WASI({ version: "preview1", args: [], env: {} });
let exports;
const slot = { text: null, refusal: null };  // the page's storage, in memory here

const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder();
function reply(text) {
  const bytes = utf8.encode(text);
  new Uint8Array(exports.memory.buffer, exports.morvel_reply_buffer(), bytes.length).set(bytes);
  return bytes.length;
}
const imports = {
  wasi_snapshot_preview1: wasi.wasiImport,
  morvel: {
    storage_save(pointer, length) {
      if (slot.refusal) return reply(slot.refusal);
      slot.text = fromUtf8.decode(new Uint8Array(exports.memory.buffer, pointer, length));
      return 0;
    },
    storage_load() {
      if (slot.text === null) return -1 - reply("Úložiště prohlížeče hru neobsahuje.");
      return reply(slot.text);
    },
  },
};

const module = await WebAssembly.compile(readFileSync(process.argv[2]));
const instance = await WebAssembly.instantiate(module, imports);
exports = instance.exports;
wasi.initialize(instance);

// What a call said: its lines, each split into its fields.
function said(pointer) {
  const text = fromUtf8.decode(new Uint8Array(exports.memory.buffer, pointer,
                                              exports.morvel_said_length()));
  return text.split("\n").filter((line) => line).map((line) => line.split("\t"));
}
const find = (lines, kind) => lines.find((line) => line[0] === kind);
const state = (lines) => find(lines, "state");
const press = (cell) => {
  const at = exports.morvel_cell_centre(cell);
  return said(exports.morvel_pressed(Math.floor(at / 65536), at % 65536));
};
const cell = (column, row) => 7 * (row - 1) + column;

// The splash, its four seconds, the game window, its start-up tick, the menu.
said(exports.morvel_start(0));
assert.deepEqual(said(exports.morvel_shown(0))[0], ["timer", "splash", "4000"]);
assert.ok(find(said(exports.morvel_timer_due(1)), "show-game"));
assert.deepEqual(said(exports.morvel_shown(1))[0], ["timer", "start-up", "1"]);
assert.deepEqual(find(said(exports.morvel_timer_due(2)), "menu"),
                 ["menu", "two-players", "low"]);

// Two people: the menu's labels, then each move's; the end message, then the menu.
assert.deepEqual(find(said(exports.morvel_menu_closed(0, 0, 0)), "labels"),
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
assert.ok(find(said(exports.morvel_box_closed()), "menu"));

// Against the computer: its move a second after the person's, with the hourglass.
said(exports.morvel_menu_closed(1, 0, 0));
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
press(cell(7, 8));
assert.ok(find(said(exports.morvel_load()), "redraw"));
slot.text = slot.text.slice(0, 40);
assert.match(find(said(exports.morvel_load()), "box")[2], /^Hru se nepodařilo nahrát\. /);
said(exports.morvel_box_closed());
slot.refusal = "Úložiště prohlížeče je plné.";
assert.deepEqual(find(said(exports.morvel_save()), "box"),
                 ["box", "failure", "Hru se nepodařilo uložit. Úložiště prohlížeče je plné."]);
console.log("web_node_test: the module plays, draws and saves as the page needs");
