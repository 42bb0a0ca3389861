// A seeded random player in a real engine, the page's counterpart of the headless random
// interleavings: real input from the engine's own pipeline (every mouse button, taps,
// keys, Back, reloads, resizes, clicks on every control and off the board, boxes left
// open while time passes, the save's slot written from outside), and after every step the
// page checked against what its module says:
// - exactly one of the splash, the game window or the "X" page shows, and the page is
//   still the game's;
// - the one open dialog is the one the module has open, with its text or its choices;
// - the board, the information and the labels show as the module says, and the board on
//   the screen is the module's, cell by cell, read from the pixels;
// - the pointer over the board is the hand, or the hourglass while the computer's move is
//   pending;
// - nothing changes under a box;
// - a save or a load happens only from a click on its button or a key pressed on it, and
//   the slot holds only whole boards (or what the test itself wrote there).
// A failure names the seed and the step. The same seed draws the same numbers, and so
// gives the same input as long as the page answers alike: the computer's timer runs on
// the browser's clock, and what shows decides which input a step may give.
import { writeFileSync } from "node:fs";
import { launch, serve } from "./engines.mjs";
import { Failure, Page, boardDifference, sleep, summary } from "./page.mjs";

// A seeded source of numbers in [0, 1): the same seed, the same draws.
function seeded(seed) {
  let s = seed >>> 0 || 1;
  return () => {
    s ^= s << 13;
    s >>>= 0;
    s ^= s >>> 17;
    s ^= s << 5;
    s >>>= 0;
    return s / 4294967296;
  };
}

const WholeBoard = /^( [0-4] \r\n){112}$/;
const Sizes = [[1024, 768], [800, 600], [1280, 900], [700, 900]];

export async function randomPlayer({ engineName, folder, cells, seed, steps, delay }) {
  const random = seeded(seed);
  const pick = (list) => list[Math.floor(random() * list.length)];
  const chance = (p) => random() < p;
  const engine = await launch(engineName);
  const server = await serve(folder);
  const page = new Page(engine, cells);
  const url = server.url(`?delay=${delay}`);
  const started = Date.now();
  const done = [];
  let loads = 1, written, gesture = false, mouseOnBoard = false;

  async function load(how) {
    await how();
    gesture = false;
    loads += 1;
    return page.wait("the page to start", (p) => p.view || p.shows.join() === "logo", 10000);
  }

  // One step of input, chosen from what the page shows now.
  function choose(p) {
    const v = p.view;
    if (p.shows.join() === "ended") return { name: "reload", run: () => load(() => engine.reload()) };
    const keys = ["Escape", "Escape", "Enter", "Space", "Tab", "ArrowDown", "ArrowUp", "a", "x"];
    const options = [
      [3, () => { const key = pick(keys); return { name: "key " + key, key, run: () => engine.key(key) }; }],
      [2, () => { const ms = Math.floor(random() * delay * 1.5); return { name: `wait ${ms} ms`, run: () => sleep(ms) }; }],
      [1, () => {
        const x = Math.floor(random() * p.width), y = Math.floor(random() * p.height), b = pick(["left", "right", "middle"]);
        const action = { name: `press ${b} at ${x},${y}`, mouse: true, async run() {
          // Whatever it lands on: a press on #S# is a save, on the board a move.
          const on = await page.js("const e = document.elementFromPoint(arguments[0], arguments[1]); return e ? e.id : ''", x, y);
          Object.assign(action, { saves: on === "sav", loads: on === "nah", onBoard: on === "plocha" });
          await engine.mouse(x, y, b);
        } };
        return action;
      }],
    ];
    if (gesture) options.push([1, () => ({ name: "Back", run: async () => { await engine.back(); gesture = false; } })]);
    options.push([0.15, () => ({ name: "reload", run: () => load(() => engine.reload()) })]);
    options.push([0.2, () => { const [w, h] = pick(Sizes); return { name: `resize ${w}×${h}`, run: () => engine.resize(w, h) }; }]);
    options.push([0.3, () => {
      const text = pick([" 1 \r\n 9 \r\n", "x".repeat(70000), " 2 \r\n 1 \r\n".repeat(56), null]);
      return { name: `write the slot (${text === null ? "remove it" : text.length + " characters"})`, write: true,
               run: async () => { written = text === null ? null : text.length <= 600 ? text : `(${text.length} characters)`;
                                  await page.js("const t = arguments[0]; t === null ? localStorage.removeItem('morvel.hra.dat') : localStorage.setItem('morvel.hra.dat', t)", text); } };
    }]);
    if (v && v.showsGame && !v.box) {
      options.push([6, () => { const n = 1 + Math.floor(random() * 56), b = pick(["left", "left", "right", "middle"]);
        return { name: `press ${b} on cell ${n}`, mouse: true, onBoard: true, run: () => page.press(n, { button: b }) }; }]);
      if (engineName !== "firefox" || chance(0.5))
        options.push([1, () => { const n = 1 + Math.floor(random() * 56); return { name: `tap cell ${n}`, run: () => page.press(n, { tap: true }) }; }]);
      options.push([1, () => ({ name: "click #S#", saves: true, mouse: true, run: () => page.click("#sav") })]);
      options.push([1, () => ({ name: "click #L#", loads: true, mouse: true, run: () => page.click("#nah") })]);
    }
    if (v && v.box) options.push([3, () => ({ name: "click OK", mouse: true, run: () => page.click("#box-ok") })]);
    if (v && v.menu) {
      for (const id of ["jhra0", "jhra1", "obtt0", "obtt1", "banner", "title"])
        options.push([1, () => ({ name: "click #" + id, mouse: true, run: () => page.click("#" + id) })]);
      options.push([3, () => ({ name: "click start", mouse: true, run: () => page.click("#pp3") })]);
      options.push([0.7, () => ({ name: 'click "?"', mouse: true, run: () => page.click("#info") })]);
      options.push([0.1, () => ({ name: 'click "X"', mouse: true, run: () => page.click("#command2") })]);
    }
    let total = options.reduce((sum, [weight]) => sum + weight, 0) * random();
    for (const [weight, make] of options) if ((total -= weight) < 0) return make();
    return options[0][1]();
  }

  // The board on the screen against the module's, with the module's view taken on both
  // sides of the screenshot (the computer may move in between).
  async function boardOnScreen() {
    let last = "";
    for (let tries = 0; tries < 8; ++tries) {
      const first = await page.probe();
      if (!first.view || !first.view.showsGame || first.dialogs.length || !first.boardShown) return;
      // Every other try from the whole window: an engine's shot of one element has been
      // seen to lag behind the screen.
      const shown = await page.boardFromPixels(tries % 2 === 1);
      const second = await page.probe();
      if (second.view && second.view.board.join() === first.view.board.join() && second.moves === first.moves) {
        if (shown.join() === first.view.board.join()) return;
        last = boardDifference(shown, first.view.board);
      }
      await sleep(60);
    }
    throw new Failure("the board on the screen is not the module's: " + last);
  }

  function check(before, after, action) {
    const fail = (what) => { throw new Failure(`${what}\n  before: ${JSON.stringify(summary(before))}\n  after: ${JSON.stringify(summary(after))}`); };
    if (after.href !== url) fail("the page was left: " + after.href);
    if (after.shows.length !== 1 || after.shows[0] === "failed") fail("not one screen: " + after.shows);
    const v = after.view;
    if (!v) {
      if (after.shows[0] !== "logo") fail("no module, and no splash");
      return;
    }
    if (after.shows[0] !== v.window) fail(`${after.shows[0]} shows, not ${v.window}`);
    const dialog = v.box !== null ? "box" : v.menu !== null ? "nas" : "";
    if (after.dialogs.join() !== dialog) fail(`the dialogs open are [${after.dialogs}], the module has ${dialog || "none"}`);
    if (v.box !== null && after.boxText !== v.box) fail("the box's text is not the module's");
    if (v.menu !== null && after.menu !== v.menu) fail("the menu's choices are not the module's");
    if (after.shows[0] === "hra") {
      if (after.boardShown !== v.showsGame || after.information !== v.showsInformation) fail("the board or the information shows wrong");
      if (v.showsGame) {
        if (after.player !== v.player || after.round !== v.round) fail("the labels are not the module's");
        if (after.playerColour !== v.playerColour) fail("the player's label's colour");
        if (!after.cursor.includes(v.pointer)) fail(`the pointer is ${after.cursor}, not ${v.pointer}`);
        // The mouse last moved over the board: the board's own pointer.
        if (mouseOnBoard && !after.dialogs.length && !/hand|hourglass/.test(v.pointer))
          fail("the arrow over the board");
      }
    }
    const b = before.view;
    if (b && b.box !== null && b.box === v.box && !action.reloaded &&
        (b.board.join() !== v.board.join() || b.player !== v.player || b.round !== v.round)) fail("the game changed under a box");
    if (after.slot !== before.slot) {
      const pressed = action.saves || (/key (Enter|Space)/.test(action.name) && before.focus === "sav");
      if (!pressed && !action.write) fail("the save's slot changed without #S#");
      if (after.slot !== null && after.slot !== written && !WholeBoard.test(after.slot)) fail("the slot holds no whole board");
    }
    if (b && !action.reloaded && after.moves === before.moves && b.board.join() !== v.board.join() && /[1-9]/.test(v.board.join(""))) {
      const pressed = action.loads || (/key (Enter|Space)/.test(action.name) && before.focus === "nah");
      if (!pressed) fail("the board changed with no move and no #L#");
    }
  }

  try {
    await load(() => engine.open(url));
    loads = 1;
    let before = await page.probe();
    for (let step = 1; step <= steps; ++step) {
      const action = choose(before);
      done.push(action.name);
      try {
        const loadsBefore = loads;
        await action.run();
        action.reloaded = loads !== loadsBefore;
        if (action.key && action.key !== "Escape") gesture = true;
        if (action.mouse) {
          gesture = true;
          mouseOnBoard = Boolean(action.onBoard);
        }
        if (action.name.startsWith("tap")) gesture = true;
        await page.settle();
        const after = await page.probe();
        check(before, after, action);
        await boardOnScreen();
        before = await page.probe();
      } catch (error) {
        // What the page showed then, beside the test's output.
        await engine.png().then((png) => writeFileSync(`web-${engineName}-failure.png`, png), () => {});
        throw new Failure(`${engineName}: the random player, seed ${seed}, step ${step} (${action.name}): ` +
                          `${error.message}\n  the steps before it: ${done.slice(-12, -1).join(" · ")}`);
      }
    }
    console.log(`${engineName}: the random player, seed ${seed}: ${steps} steps in ${loads} page loads, ` +
                `${((Date.now() - started) / 1000).toFixed(1)} s`);
  } finally {
    await engine.quit();
    await server.stop();
  }
}
