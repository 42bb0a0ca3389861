// The game's WebAssembly module (morvel.wasm) under Node, through the page's own seam
// (web/page/seam.js), with a page that keeps what it is told as its elements would, and
// the save kept in memory. Shared by the module's test and its timing tool.
import { readFileSync } from "node:fs";
import { connect } from "../web/page/seam.js";

export async function loadGame(file) {
  const elements = {};
  const at = (name) => (elements[name] ??= { visible: true });
  // What the page shows, the timer it runs, what it drew, what it was told once.
  const screen = { moves: 0, drawn: {}, preloaded: [], warnings: [] };
  const slot = { text: null, refusal: null };
  let surface = null;
  const page = {
    startTimer: (timer, ms) => { screen.timer = { timer, ms }; },
    stopTimers: () => { screen.timer = null; },
    movePlayed: (player) => { screen.moves += 1; screen.mover = player; },
    warn: (text) => screen.warnings.push(text),
    title: (text) => { screen.title = text; },
    place: (c, left, top, width, height, fits) => Object.assign(at(c), { left, top, width, height, fits }),
    face: (c, pixels, colour) => Object.assign(at(c), { pixels, colour }),
    tooltip: (c, text) => { at(c).tooltip = text; },
    accessibleName: (c, text) => { at(c).name = text; },
    image: (c, picture, hover) => Object.assign(at(c), { picture, hover }),
    action: (c, action) => { at(c).action = action; },
    preload: (file) => screen.preloaded.push(file),
    showWindow: (window, shown) => Object.assign(screen, { window, shown }),
    visible: (c, visible) => { at(c).visible = visible; },
    text: (c, text) => { at(c).text = text; },
    colour: (c, colour) => { at(c).colour = colour; },
    pointer: (picture, x, y, shape) => { screen.pointer = picture || shape; },
    check: (c, checked, enabled) => Object.assign(at(c), { checked, enabled }),
    openDialog: (dialog) => { screen.dialog = dialog; },
    layout: (width, height, scale) => { screen.layout = { width, height, scale }; },
    pictureWidth: () => 64,
    pictureHeight: () => 48,
    surface: (c) => { surface = screen.drawn[c] = []; },
    picture: (file, ...box) => surface.push(["picture", file, ...box]),
    disc: (...disc) => surface.push(["disc", ...disc]),
    box: (...box) => surface.push(["box", ...box]),
  };
  const storage = {
    save: (text) => slot.refusal ?? ((slot.text = text), null),
    load: () => (slot.text === null ? { reason: "Úložiště prohlížeče hru neobsahuje." } : { text: slot.text }),
    tooBig: "Uložená hra je příliš velká.",
  };
  const bytes = readFileSync(file);
  const game = await connect((imports) => new WebAssembly.Instance(new WebAssembly.Module(bytes), imports),
                             page, storage);
  // The page's part of the game: the timer run out, a control pressed, a cell pressed in
  // its middle (the cells from the drawing: each piece's disc lies in its cell).
  const tick = () => {
    const { timer } = screen.timer;
    screen.timer = null;
    game.timerDue(timer);
  };
  const press = (control) => game.act(elements[control].action);
  return { game, screen, elements, slot, tick, press };
}

export const cell = (column, row) => 7 * (row - 1) + column;
