// The browser build in a real engine (Chromium, Firefox ESR or WebKit), served on
// 127.0.0.1 as a static host serves it, driven by the engine's own input and judged by
// what its module says and its screenshots' pixels show:
// - the splash's four seconds; a two-player game to its end message with every cell of
//   every move read from the pixels against this test's own rules; a game at each level,
//   the computer's every move one the rules allow; #S# and #L#, a damaged save and one too
//   large for the module; Esc on the menu, again and again, with clicks between; Back in a
//   game and on the menu; "?" and "X"; Tab and Enter alone from the menu to a game; a
//   reload with the server gone; a start that fails, and a host that serves the module as
//   no WebAssembly;
// - a seeded random player (random.mjs);
// - in Chromium: a phone's screen played by taps, and axe-core's accessibility rules.
//   browser_test.mjs ENGINE FOLDER MORVEL-CLI [--seed N] [--steps N] [--only random|scripted]
// (a seed a failure names draws the same again: --only random --seed N)
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { launch, serve } from "./engines.mjs";
import { Failure, Page, boardDifference, cellTable, sleep, summary } from "./page.mjs";
import { randomPlayer } from "./random.mjs";
import { Rules, seeded } from "./rules.mjs";

const [engineName, folder, cli, ...rest] = process.argv.slice(2);
const option = (name, otherwise) => {
  const at = rest.indexOf("--" + name);
  return at >= 0 ? rest[at + 1] : otherwise;
};
const cells = cellTable(cli);
const Delay = 400;  // the computer's, shortened through the page's address

const menuOpen = (p) => p.view && p.view.phase === "Menu" && p.dialogs.join() === "nas";
const playing = (p) => p.view && p.view.phase === "PersonToMove" && p.dialogs.length === 0;

async function opened(engine, server, query = `?delay=${Delay}`) {
  const page = new Page(engine, cells);
  const started = Date.now();
  await engine.open(server.url(query));
  await page.wait("the splash", (p) => p.shows.join() === "logo", 3000);
  await page.wait("the menu", menuOpen, 10000);
  page.check(`the menu after the splash's four seconds, not ${Date.now() - started} ms`, Date.now() - started >= 3900);
  return page;
}

async function startGame(page, { mode = 0, level = 0, how = "click" } = {}) {
  await page.click(`#jhra${mode}`);
  if (mode === 1) await page.click(`#obtt${level}`);
  await page.click("#pp3", { tap: how === "tap" });
  return page.wait("a new game", (p) => p.view.phase === "PersonToMove" || p.view.phase === "ComputerArmed");
}

async function checkBoard(page, expected, what) {
  // A screenshot may show the frame before the last drawing.
  let shown;
  for (let tries = 0; tries < 5; ++tries) {
    shown = await page.boardFromPixels();
    if (shown.join() === expected.join()) return;
    await sleep(50);
  }
  throw new Failure(`${what}: ${boardDifference(shown, expected)}`);
}

// Two people from a new game to its end message: `scramble` moves anywhere, then one
// attacks and the other huddles; every 7th move is first tried on the other player's cell.
// The board's pixels are read after every `every`th move.
async function twoPlayers(page, random, give, scramble, every = 1) {
  const rules = new Rules();
  let moves = (await page.probe()).moves;
  for (let number = 1; ; ++number) {
    const theirs = number % 7 === 0 && [...Array(56).keys()].map((i) => i + 1).find((n) => rules.owner(n) === 3 - rules.player);
    if (theirs) {
      await give(theirs, number);
      const p = await page.probe();
      page.check("a press on the other player's cell is no move",
                 p.moves === moves && p.player === `Hráč:${rules.player}`);
    }
    const at = number <= scramble ? rules.legal()[Math.floor(random() * rules.legal().length)]
      : rules.player === 1 ? rules.attack(random) : rules.huddle();
    await give(at, number);
    moves += 1;
    await page.wait(`move ${number} at cell ${at}`, (p) => p.moves === moves);
    rules.play(at);
    const loser = rules.loser();
    if (loser) {
      await page.wait("the end message", (p) => p.boxText === `Konec hry hráč ${loser} prohrál` && p.dialogs.join() === "box");
      return number;
    }
    if (number % every === 0) await checkBoard(page, rules.board, `after move ${number} at cell ${at}`);
    const p = await page.probe();
    page.check(`the labels after move ${number}: ${p.round}, ${p.player}`,
               p.round === `${rules.round} kolo` && p.player === `Hráč:${rules.player}`);
  }
}

// The computer's one move after `before` moves: one the rules allow it, giving the board
// its module and the pixels show.
async function computerMoved(page, rules, before, what) {
  const p = await page.wait(`the computer's ${what}`, (p) => p.moves === before + 1, Delay + 3000);
  const answers = rules.legal().filter((n) => rules.after(n).board.join() === p.view.board.join());
  page.check(`the computer's ${what} is one move of the rules`, answers.length > 0);
  rules.play(answers[0]);
  await checkBoard(page, rules.board, `after the computer's ${what}`);
}

async function againstTheComputer(page, random, level) {
  const moves = (await page.probe()).moves;
  await startGame(page, { mode: 1, level });
  const rules = new Rules();
  if (level === 1) {
    rules.player = 2;
    await computerMoved(page, rules, moves, "opening");
  }
  let p;
  for (let turn = 0; turn < 2; ++turn) {
    p = await page.probe();
    page.check("the hand while the person is to move", p.cursor.includes("hand.png"));
    const at = rules.attack(random), before = p.moves;
    await page.press(at);
    rules.play(at);
    p = await page.wait("the person's move", (p) => p.moves === before + 1, 1000);
    page.check("the hourglass during the computer's delay", p.cursor.includes("hourglass.png") && p.view.hourglass);
    await computerMoved(page, rules, before + 1, `move ${turn + 1}`);
  }
  return rules;
}

// The menu stays whatever Esc does, with or without clicks between (a browser closes a
// modal dialog on Esc however its cancel is refused, once per click).
async function escapeOnTheMenu(page) {
  for (let i = 0; i < 6; ++i) {
    if (i % 2) await page.click(["#banner", "#title", "#jhra0"][i % 3]);
    await page.engine.key("Escape");
    await page.engine.key("Escape");
    await page.settle();
    const p = await page.probe();
    page.check(`the menu after Esc (${i}): ${JSON.stringify(summary(p))}`, menuOpen(p) && p.menu === p.view.menu);
  }
}

async function scripted(engine, server) {
  const page = await opened(engine, server);
  let p = await page.probe();
  page.check(`the caption, blanks kept: ${JSON.stringify(p.title)}`, p.title === "Morvel\u00a0\u00a0\u00a0tým Morvel, 2026");
  const texts = await page.js("return [...document.querySelectorAll('#title, #nas .option')].map((e) => e.textContent)");
  page.check("the menu's texts", texts.join("|") === "Morvel V1.3|Hra dvou hráčů|Hra hráč proti počítači|Obtížnost malá|Obtížnost velká");
  await page.click("#obtt1");
  page.check("the levels take no click for two players", (await page.probe()).menu === "two-players low 0");
  await escapeOnTheMenu(page);

  // Two people to the end, with the left, right and middle buttons by turns.
  await startGame(page);
  p = await page.probe();
  page.check("the new game's labels", p.round === "1kolo" && p.player === "Hráč:1");
  const buttons = ["left", "right", "middle"];
  const moves = await twoPlayers(page, seeded(2), (n, number) => page.press(n, { button: buttons[number % 3] }), 6);
  page.check("the end message's box: its title and its information icon", await page.js(
    "const icon = document.getElementById('box-icon'); " +
    "return document.getElementById('box-title').textContent === 'Morvel' && " +
    "icon !== null && icon.getBoundingClientRect().width === 32"));
  await engine.key("Enter");
  await page.wait("the menu after the end message", menuOpen);
  console.log(`${engine.name}: a two-player game of ${moves} moves, every cell read back`);
  await escapeOnTheMenu(page);

  // Both levels; Esc between them brings the menu.
  const random = seeded(3);
  await againstTheComputer(page, random, 0);
  await engine.key("Escape");
  await page.wait("the menu after Esc", menuOpen);
  const rules = await againstTheComputer(page, random, 1);

  // #S# keeps the board; a later Enter or Space saves nothing, nor does it load.
  await page.click("#sav");
  p = await page.probe();
  const saved = p.slot;
  page.check("the save's text", saved && saved.split("\r\n").length === 113);
  page.check("a click leaves no focus on #S#", p.focus !== "sav");
  const at = rules.legal().find((n) => rules.owner(n) === 1) || rules.legal()[0];
  await page.press(at);
  rules.play(at);
  await computerMoved(page, rules, p.moves + 1, "move after the save");
  for (const key of ["Enter", "Space"]) await engine.key(key);
  p = await page.probe();
  page.check("Enter and Space after #S# save nothing", p.slot === saved);
  await page.click("#nah");
  p = await page.probe();
  page.check("#L# brings the saved board back", p.view.board.join() !== rules.board.join() && p.focus !== "nah");
  const loaded = p.view.board;
  await page.js("localStorage.setItem('morvel.hra.dat', ' 0 \\r\\n 0 \\r\\n')");
  for (const key of ["Enter", "Space"]) await engine.key(key);
  p = await page.probe();
  page.check("Enter and Space after #L# load nothing", p.dialogs.length === 0 && p.view.board.join() === loaded.join());

  // A damaged save, and one larger than the module takes, are refused; the board stays.
  await page.click("#nah");
  await page.wait("the damaged save refused", (p) => p.boxText.startsWith("Hru se nepodařilo nahrát. ") && p.dialogs.join() === "box");
  await engine.key("Escape");
  await page.wait("the box closed by Esc", (p) => p.dialogs.length === 0);
  for (const size of [70000, 3000000]) {
    await page.js(`localStorage.setItem('morvel.hra.dat', ' 1 \\r\\n'.repeat(${size / 5}))`);
    await page.click("#nah");
    p = await page.wait(`a save of ${size} bytes refused`, (p) => p.dialogs.join() === "box", 2000);
    page.check(`a save of ${size} bytes: ${p.boxText}`,
               p.boxText === "Hru se nepodařilo nahrát. Uložená hra v úložišti prohlížeče je příliš velká.");
    await page.click("#box-ok");
    p = await page.wait("the box closed", (p) => p.dialogs.length === 0);
    page.check("the board after a refused load", p.view.board.join() === loaded.join());
  }
  await checkBoard(page, loaded, "the board after the refused loads");

  // Esc during the computer's delay: the menu, and no move of the computer.
  const mine = [...Array(56).keys()].map((i) => i + 1).find((n) => [0, 1].includes(loaded[2 * n - 2]));
  const before = (await page.probe()).moves;
  await page.press(mine);
  await page.wait("the person's move", (p) => p.moves === before + 1);
  await engine.key("Escape");
  await page.wait("the menu after Esc", menuOpen, 1000);
  await sleep(Delay + 300);
  page.check("no computer move after Esc", (await page.probe()).moves === before + 1);

  // The browser's Back in a game brings the menu, and on the menu (once the player has
  // done something there) the menu stays.
  await startGame(page);
  await page.press(24);
  await engine.back();
  await page.wait("the menu after Back", menuOpen, 3000);
  await page.click("#jhra1");
  const entries = await page.js("return history.length + ' ' + JSON.stringify(history.state)");
  await engine.back();
  await sleep(300);
  p = await page.probe().catch((e) => page.check(`the page after Back on the menu (history ${entries}): ${e}`, false));
  page.check(`the menu after Back on the menu: ${p.href}`, menuOpen(p) && p.href === server.url(`?delay=${Delay}`));

  // Tab and Enter alone: from the menu to a game.
  for (let i = 0; i < 12 && (await page.probe()).focus !== "pp3"; ++i) await engine.key("Tab");
  page.check("Tab reaches the start button", (await page.probe()).focus === "pp3");
  // Headless Firefox does not activate a button on the keys its BiDi driver gives (a key
  // reaches it, a click on it does not follow), so there a click presses it.
  if (engine.name === "firefox") await page.click("#pp3");
  else await engine.key("Enter");
  await page.wait("a game started from the keyboard", playing);

  // "?" shows the information; Esc brings the menu back; "X" ends the game.
  await engine.key("Escape");
  await page.wait("the menu", menuOpen);
  await page.click("#info");
  await page.wait("the information", (p) => p.view.phase === "Information" && p.information && p.dialogs.length === 0);
  await engine.key("Escape");
  await page.wait("the menu after Esc", menuOpen);
  await page.click("#command2");
  await page.wait("the page that says the game has ended", (p) => p.shows.join() === "ended" && p.dialogs.length === 0);

  // Once opened, the game plays with the server gone.
  await engine.reload();
  await page.wait("the menu", menuOpen, 10000);
  await page.js("return navigator.serviceWorker.ready.then(() => true)");
  await server.stop();
  await engine.reload();
  await page.wait("the menu, offline", menuOpen, 10000);
  await startGame(page);
  await page.press(17);
  await page.wait("a move, offline", (p) => p.moves === 1);
  await checkBoard(page, new Rules().play(17).board, "the board, offline");
}

// A start that cannot work says so, in Czech; a host that serves the module under another
// type still starts the game.
async function failedStarts(engine, folder) {
  const page = new Page(engine, cells);
  // Each on a server of its own: another origin, which no service worker serves yet.
  for (const fault of ["type", "missing"]) {
    const server = await serve(folder);
    try {
      if (fault === "type") {
        server.wasmType = "application/octet-stream";
        await opened(engine, server);
        continue;
      }
      server.missing.add("morvel.wasm");
      await engine.open(server.url());
      const p = await page.wait("the start's failure told", (p) => p.shows.join() === "failed", 5000);
      page.check(`the failure's text: ${p.failed}`,
                 /^Hru se nepodařilo spustit: .*morvel\.wasm.*Zkuste stránku načíst znovu\.$/.test(p.failed));
    } finally {
      await server.stop();
    }
  }
}

// A phone in portrait: the layout scaled to the screen's width shows the board whole; a
// game by taps; the browser's Back brings the menu.
async function phone(folder) {
  const engine = await launch("chromium", { phone: true });
  const server = await serve(folder);
  try {
    const page = await opened(engine, server);
    await startGame(page, { how: "tap" });
    const p = await page.probe();
    const r = p.plocha;
    page.check(`the board whole on the phone's screen: ${JSON.stringify(r)}`,
               r.x >= 0 && r.y >= 0 && r.right <= p.width && r.bottom <= p.height && r.width < 306);
    const moves = await twoPlayers(page, seeded(4), (n) => page.press(n, { tap: true }), 0, 10);
    await page.click("#box-ok", { tap: true });
    await page.wait("the menu", menuOpen);
    console.log(`chromium: a game of ${moves} moves by taps on a phone's screen`);
    await startGame(page, { how: "tap" });
    await engine.back();
    await page.wait("the menu after Back", menuOpen);
  } finally {
    await engine.quit();
    await server.stop();
  }
}

// axe-core's rules in the page: the splash, the menu in both modes, a box, the game.
async function accessibility(folder) {
  const engine = await launch("chromium");
  const server = await serve(folder);
  const axe = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
  // The colours and sizes the screens are drawn in: the menu's dark blue title, the players'
  // blue and red labels on black or the dark tiles; the 17-pixel "?", "X", #S# and #L#.
  const allowed = new Set(["color-contrast", "target-size"]);
  const check = async (page, where) => {
    await page.js(axe);
    const found = await page.js("return axe.run(document, { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] }).then((r) => r.violations.map((v) => v.id + ': ' + v.nodes.map((n) => n.target.join(' ')).join(', ')))");
    const wrong = found.filter((v) => !allowed.has(v.split(":")[0]));
    page.check(`accessibility at ${where}: ${wrong.join("; ")}`, wrong.length === 0);
    console.log(`chromium: axe-core at ${where}: ${found.length ? found.join("; ") : "no violation"}`);
  };
  try {
    const page = new Page(engine, cells);
    await engine.open(server.url());
    await page.wait("the splash", (p) => p.shows.join() === "logo", 3000);
    await check(page, "the splash");
    await page.wait("the menu", menuOpen, 10000);
    await check(page, "the menu for two players");
    await page.click("#jhra1");
    await check(page, "the menu against the computer");
    await page.click("#jhra0");
    await startGame(page);
    await check(page, "the game window");
    await page.click("#nah");
    await page.wait("a box", (p) => p.dialogs.join() === "box");
    await check(page, "a box");
  } finally {
    await engine.quit();
    await server.stop();
  }
}

async function main() {
  const only = option("only", "all");
  const seed = Number(option("seed", 1000 + ["chromium", "firefox", "webkit"].indexOf(engineName)));
  // Longest where the engine is quickest.
  const steps = Number(option("steps", engineName === "chromium" ? 300 : 150));
  const started = Date.now();
  if (only !== "random") {
    const engine = await launch(engineName);
    const server = await serve(folder);
    try {
      await scripted(engine, server);
      await failedStarts(engine, folder);
    } finally {
      await engine.quit();
      await server.stop();
    }
    if (engineName === "chromium") {
      await phone(folder);
      await accessibility(folder);
    }
    console.log(`${engineName}: the scripted cases passed in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  }
  if (only !== "scripted") await randomPlayer({ engineName, folder, cells, seed, steps, delay: Delay });
  console.log(`${engineName}: ok`);
}

main().then(() => process.exit(0), (error) => {
  console.log(`${engineName}: FAIL: ${error instanceof Failure ? error.message : error.stack}`);
  process.exit(1);
});
