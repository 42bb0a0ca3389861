// The page's code under Node, without a browser: the module through the page's own seam
// (a game from the splash to its end message, the computer's answer after its delay, the
// menu's rules, texts with their line breaks, the save kept, damaged, missing, refused or
// too big, numbers from the page bounded), and the page's modules on stand-ins for what a
// browser gives them (its storage, its dialogs, its canvas).
//   node web_node_test.mjs morvel.wasm
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { cell, loadGame } from "../tools/wasm_game.mjs";
import { browserStorage } from "../web/page/storage.js";
import { dialogs } from "../web/page/dialogs.js";
import { painter } from "../web/page/painter.js";

const { game, screen, elements, slot, tick, press } = await loadGame(process.argv[2]);
const view = game.view;
const pressCell = (n) => game.pressed(...view().middles[n - 1]);
const ticked = (ms) => {
  assert.equal(screen.timer?.ms, ms);
  tick();
};

// The screens described: every text once, line breaks kept; the pictures the drawing needs.
game.describe();
assert.equal(screen.title, "Morvel   tým Morvel, 2026");
assert.match(elements.information.text, /^INFORMACE:\nVyrobil: tým Morvel\n/);
assert.equal(elements["logo-title"].pixels, 16);
assert.equal(elements.jhra1.text, "Hra hráč proti počítači");
assert.equal(elements.pp3.name, "Spustit hru");
assert.deepEqual(screen.preloaded, ["board.png", "tile.png"]);

// The splash, its four seconds, the game window, its start-up tick, the menu.
game.start(0);
assert.equal(screen.window, "logo");
game.shown(screen.shown);
ticked(4000);
assert.equal(screen.window, "hra");
game.shown(screen.shown);
ticked(1);
assert.equal(screen.dialog, "nas");
assert.ok(elements.jhra0.checked && !elements.obtt0.enabled);

// The menu's rules are the module's: a level is chosen only against the computer, and kept
// when the player goes back to two players.
press("obtt1");
assert.ok(elements.obtt0.checked);
press("jhra1");
press("obtt1");
press("jhra0");
assert.ok(elements.obtt1.checked && !elements.obtt1.enabled && elements.jhra0.checked);
press("jhra1");
press("obtt0");

// Two people: the menu's labels, then each move's; the end message, then the menu.
press("jhra0");
press("pp3");
assert.equal(screen.dialog, "");
assert.equal(elements["label-round"].text, "1kolo");
ticked(1);
assert.ok(elements.plocha.visible && !elements.information.visible);
for (let turn = 0; turn < 4; ++turn) {
  pressCell(cell(2, 1));
  pressCell(cell(1, 1));
  assert.equal(elements["label-round"].text, `${turn + 2} kolo`);
  assert.equal(elements["label-player"].colour, "rgb(0, 0, 255)");
}
assert.equal(screen.moves, 8);
assert.equal(screen.drawn.plocha.filter(([kind]) => kind === "disc").length, 2 * 8);
assert.deepEqual(screen.drawn.plocha[0], ["picture", "board.png", 0, 0, 4590, 5265]);
// Not laid out yet: drawn as for a screen of a pixel to a pixel, each disc half of one wider.
assert.ok(screen.drawn.plocha.every(([kind, , , r]) => kind !== "disc" || r === 47.5 || r === 57.5));
pressCell(cell(2, 1));
assert.equal(screen.dialog, "box");
assert.equal(elements["box-text"].text, "Konec hry hráč 2 prohrál");
game.dialogClosed();
assert.equal(screen.dialog, "nas", "the menu after the end message");
game.dialogClosed();
assert.equal(screen.dialog, "nas", "a menu the browser closed opens again");

// Against the computer: its move a second after the person's, with the hourglass.
press("jhra1");
press("pp3");
ticked(1);
assert.equal(screen.pointer, "hand.png");
pressCell(cell(4, 4));
assert.equal(screen.pointer, "hourglass.png");
game.pointerMoved(false);
assert.equal(screen.pointer, "default");
ticked(1000);
assert.equal(screen.mover, 2);
assert.equal(screen.pointer, "hand.png");

// The save: the board's text in the page's storage, the board alone back from it.
press("sav");
assert.equal(slot.text.split("\r\n").length, 113);
const saved = view().cells.join();
pressCell(cell(4, 4));
ticked(1000);
assert.notEqual(view().cells.join(), saved);
press("nah");
assert.equal(view().cells.join(), saved, "the saved board is back");
slot.text = slot.text.slice(0, 40);
press("nah");
assert.match(elements["box-text"].text, /^Hru se nepodařilo nahrát\. /);
game.dialogClosed();
for (const [text, said] of [[null, "Úložiště prohlížeče hru neobsahuje."],
                            [" 1 \r\n".repeat(14000), "Uložená hra je příliš velká."]]) {
  slot.text = text;
  press("nah");
  assert.equal(elements["box-text"].text, "Hru se nepodařilo nahrát. " + said);
  game.dialogClosed();
}
slot.refusal = "Úložiště prohlížeče je plné.\nZkuste jiné.";
press("sav");
assert.equal(elements["box-text"].text, "Hru se nepodařilo uložit. Úložiště prohlížeče je plné.\nZkuste jiné.");
assert.deepEqual(view().dialog, "box", "the view says what shows, and changes nothing");
assert.equal(screen.dialog, "box");
game.dialogClosed();

// Every element the module named stands in the page, named so.
const page = readFileSync(new URL("../web/page/index.html", import.meta.url), "utf8");
const ids = new Set([...page.matchAll(/ id="([^"]+)"/g)].map(([, id]) => id));
for (const name of [...Object.keys(elements), ...Object.keys(screen.drawn)])
  assert.ok(ids.has(name), `index.html has no element "${name}"`);

// The layout of the page's window, and the board drawn for its screen: discs half a device
// pixel wider, the bar's middle line one device pixel wide when both have as many pieces.
game.layOut(1200, 900, 400, 200, 2);
assert.deepEqual(screen.layout, { width: 1200, height: 900, scale: 1 });
assert.equal(elements.kbod.top, elements.plocha.top - 10);
const discs = () => screen.drawn.plocha.filter(([kind]) => kind === "disc");
assert.ok(discs().every(([, , , radius]) => radius === 40 + 3.75 || radius === 50 + 3.75));
// A screen of fewer pixels than the page's (a browser zoomed out): a device pixel is wider.
game.layOut(1200, 900, 400, 200, 0.5);
assert.ok(discs().every(([, , , radius]) => radius === 40 + 15 || radius === 50 + 15));
game.layOut(400, 300, 400, 200, 1);
assert.ok(screen.layout.scale < 1, "a window too small for the layout shows it smaller");
assert.equal(screen.drawn.kbod.at(-1)[0], "box");

// Numbers the page may give wrong change nothing; a delay past a minute is the game's own.
const before = view().cells.join();
for (const [x, y] of [[NaN, 1], [-5, 3], [1e308, 1e308]]) game.pressed(x, y);
for (const action of [-1, 99, 2 ** 31 - 1]) game.act(action);
game.timerDue(77);
game.shown(-3);
game.layOut(-1, 2 ** 31 - 1, NaN, 5, 1e300);
assert.equal(view().cells.join(), before);
for (const [asked, waited] of [[250, 250], [2 ** 31 - 1, 1000]]) {
  game.start(asked);
  game.shown(screen.shown);
  ticked(4000);
  game.shown(screen.shown);
  ticked(1);
  press("jhra1");
  press("pp3");
  ticked(1);
  pressCell(cell(4, 4));
  assert.equal(screen.timer.ms, waited);
}

// The page's storage: a refusal, a storage switched off, nothing kept, a text kept.
const kept = {};
const local = { setItem: (k, v) => { kept[k] = v; }, getItem: (k) => kept[k] ?? null };
const storage = browserStorage(() => local);
assert.match(storage.load().reason, /není uložená hra/);
assert.equal(storage.save(" 0 \r\n"), null);
assert.deepEqual(storage.load(), { text: " 0 \r\n" });
const full = browserStorage(() => ({ setItem() { throw new Error("quota"); } }));
assert.match(full.save("x"), /nepřijalo/);
assert.match(browserStorage(() => { throw new Error("off"); }).load().reason, /vypnuté/);

// The dialogs: exactly the one the module names is open, whatever was open; a dialog's
// close is told, and the box is found for Enter.
const fake = (id) => ({ id, open: false, listeners: [], focused: false,
  addEventListener(kind, then) { this.listeners.push(then); },
  showModal() { this.open = true; }, close() { this.open = false; this.listeners.forEach((f) => f()); },
  querySelectorAll: () => [], querySelector(selector) { return selector === "#box-ok" && id === "box" ? this.ok : null; } });
const nas = fake("nas"), box = fake("box");
box.ok = { focus() { box.focused = true; } };
let closes = 0;
const shown = dialogs({ querySelectorAll: () => [nas, box] }, () => ++closes);
shown.openDialog("nas");
assert.ok(nas.open && !box.open);
shown.openDialog("box");
assert.ok(!nas.open && box.open && box.focused && closes === 1);
assert.equal(shown.openBox(), box);
shown.openDialog("");
assert.ok(!box.open && closes === 2 && shown.openBox() === undefined);

// The painter: a surface sized for the screen's pixels, the shapes in the module's units.
const calls = [];
const context = new Proxy({}, { get: (_, name) => (...args) => calls.push([name, ...args]),
                                set: (_, name, value) => (calls.push([name, value]), true) });
const canvas = { style: {}, getContext: () => context };
const paint = painter(() => canvas, { get: () => "board", width: () => 1, height: () => 1 });
paint.surface("plocha", 306, 351, 15, 2);
assert.deepEqual([canvas.width, canvas.height, canvas.style.width], [612, 702, "306px"]);
assert.deepEqual(calls.find(([name]) => name === "setTransform"), ["setTransform", 2 / 15, 0, 0, 2 / 15, 0, 0]);
paint.disc(300, 300, 53.75, "rgb(0, 0, 255)");
assert.deepEqual(calls.slice(-4).map(([name]) => name), ["fillStyle", "beginPath", "arc", "fill"]);
console.log("web_node_test: the page's seam, storage, dialogs and painter do what the game needs");
