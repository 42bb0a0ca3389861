// The game's page in an engine, as a player meets it and as its tests read it: presses on
// its controls and cells, what it shows (from the DOM and from the screenshot's pixels),
// and what its module says it should show.
import { execFileSync } from "node:child_process";

export const Blue = [0, 0, 255], Red = [255, 0, 0];
export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The cell table, in twips from the board picture's corner, from the game's own code.
export function cellTable(cli) {
  const cells = [];
  for (const line of execFileSync(cli, ["geometry", "--screen", "1024x768"], { encoding: "utf8" }).split("\n")) {
    const [kind, n, ...box] = line.split(" ");
    if (kind === "cell") cells[Number(n)] = box.map(Number);
  }
  if (cells.filter(Boolean).length !== 56) throw new Error("morvel-cli geometry gave not 56 cells");
  return cells;
}

export class Failure extends Error {}

// Everything the tests read of the page in one call: what shows, the dialogs, the labels,
// the pointer, the focus, the save's slot, and what the module says the screens show
// (written down by the page's seam rather than painted).
const Probe = `
  const $ = (id) => document.getElementById(id);
  const visible = (id) => getComputedStyle($(id)).visibility === "visible";
  const v = window.morvelView ? window.morvelView() : null;
  const menu = (v) => [v.check.jhra1.checked ? "against-computer" : "two-players",
                       v.check.obtt1.checked ? "high" : "low", v.check.obtt0.enabled ? "1" : "0"].join(" ");
  let slot = null;
  try { slot = localStorage.getItem("morvel.hra.dat"); } catch (e) {}
  return {
    view: v && v.window ? {
      window: v.window, showsGame: v.visible.plocha, showsInformation: v.visible.information,
      hourglass: v.pointer === "hourglass.png", pointer: v.pointer,
      box: v.dialog === "box" ? v.text["box-text"] : null, menu: v.dialog === "nas" ? menu(v) : null,
      player: v.text["label-player"], round: v.text["label-round"],
      playerColour: v.colour["label-player"] || null, board: v.cells,
    } : null,
    shows: ["logo", "hra", "ended", "failed"].filter((id) => !$(id).hidden),
    failed: $("failed").textContent,
    dialogs: [...document.querySelectorAll("dialog[open]")].map((d) => d.id),
    boxText: $("box-text").textContent,
    menu: [$("jhra1").firstChild.checked ? "against-computer" : "two-players",
           $("obtt1").firstChild.checked ? "high" : "low",
           $("obtt0").firstChild.disabled ? "0" : "1"].join(" "),
    boardShown: visible("plocha") && !$("hra").hidden, information: visible("information"),
    round: $("label-round").textContent, player: $("label-player").textContent,
    playerColour: getComputedStyle($("label-player")).color,
    cursor: getComputedStyle($("hra")).cursor, focus: document.activeElement ? document.activeElement.id : "",
    slot: slot === null ? null : slot.length <= 600 ? slot : "(" + slot.length + " characters)",
    plocha: $("plocha").getBoundingClientRect().toJSON(),
    moves: Number(document.body.dataset.moves || 0), href: location.href,
    width: innerWidth, height: innerHeight, title: document.title,
  };`;

export class Page {
  constructor(engine, cells) {
    this.engine = engine;
    this.cells = cells;
  }

  js(body, ...args) { return this.engine.js(body, ...args); }
  // Two frames: whatever the last input set off has been drawn.
  settle() {
    return this.js("return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => done(true))))");
  }
  async probe() { return this.js(Probe); }

  async wait(what, test, timeout = 6000) {
    const end = Date.now() + timeout;
    let last;
    for (;;) {
      last = await this.probe().catch((e) => ({ error: String(e) }));
      if (!last.error && test(last)) return last;
      if (Date.now() > end) throw new Failure(`timed out waiting for ${what}: ${JSON.stringify(summary(last))}`);
      await sleep(40);
    }
  }
  check(what, ok) {
    if (!ok) throw new Failure(what);
  }

  // -- a player's input ------------------------------------------------------------------
  async rect(selector) {
    return this.js("const e = document.querySelector(arguments[0]); return e ? e.getBoundingClientRect().toJSON() : null", selector);
  }
  async middle(selector) {
    const r = await this.rect(selector);
    this.check(selector + " is on the page", r && r.width > 0);
    return [r.x + r.width / 2, r.y + r.height / 2];
  }
  async click(selector, { tap = false, button = "left" } = {}) {
    const [x, y] = await this.middle(selector);
    if (tap) await this.engine.tap(x, y);
    else await this.engine.mouse(x, y, button);
  }
  // The middle of cell n (1..56) in CSS pixels of the page.
  cellPoint(n, plocha) {
    const [x1, y1, x2, y2] = this.cells[n];
    const k = plocha.width / 306 / 15;
    return [plocha.x + (x1 + x2) / 2 * k, plocha.y + (y1 + y2) / 2 * k];
  }
  async press(n, { tap = false, button = "left" } = {}) {
    const [x, y] = this.cellPoint(n, await this.rect("#plocha"));
    if (tap) await this.engine.tap(x, y);
    else await this.engine.mouse(x, y, button);
  }

  // -- the board as the screen shows it ------------------------------------------------
  // Owner and count of every cell, as the list the module's view gives, from the pixels:
  // the discs' colours at the five places a cell's one to four pieces stand.
  // `cut`: from a shot of the whole window rather than of the board alone.
  async boardFromPixels(cut = false) {
    const shot = await this.engine.screenshot("#plocha", cut);
    const k = shot.width / 306 / 15;  // the shot's pixels to a twip
    const at = (n, ox, oy) => {
      const [x1, y1] = this.cells[n];
      return shot.at(Math.floor((x1 + ox) * k), Math.floor((y1 + oy) * k));
    };
    const same = (a, b) => a[0] === b[0] && a[1] === b[1] && a[2] === b[2];
    const out = [];
    for (let n = 1; n <= 56; ++n) {
      const [centre, topLeft, topRight, bottomRight, bottomLeft] =
        [[300, 300], [150, 150], [430, 150], [430, 430], [150, 430]].map(([x, y]) => at(n, x, y));
      const colour = [centre, topLeft].find((c) => same(c, Blue) || same(c, Red));
      if (!colour) {
        out.push(0, 0);
        continue;
      }
      const owner = same(colour, Blue) ? 1 : 2;
      const count = same(topRight, colour) && same(bottomLeft, colour) ? 4
        : same(centre, colour) && same(topLeft, colour) && same(bottomRight, colour) ? 3
        : same(topLeft, colour) && same(bottomRight, colour) ? 2 : 1;
      out.push(owner, count);
    }
    return out;
  }
}

// A probe made short for a failure's message.
export function summary(probe) {
  if (!probe || probe.error) return probe;
  const { plocha, slot, ...rest } = probe;
  return { ...rest, view: probe.view && { ...probe.view, board: probe.view.board.join("") },
           slot: slot && slot.length > 40 ? slot.slice(0, 40) + "…" : slot };
}

// The differences between two boards as the view lists them, cell by cell.
export function boardDifference(shown, expected) {
  const out = [];
  for (let n = 1; n <= 56; ++n) {
    const a = shown.slice(2 * n - 2, 2 * n).join("/"), b = expected.slice(2 * n - 2, 2 * n).join("/");
    if (a !== b) out.push(`cell ${n} shows ${a}, not ${b}`);
  }
  return out.slice(0, 6).join("; ");
}
