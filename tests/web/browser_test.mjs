// The browser build in a real engine (Chromium, Firefox ESR or WebKit), served on
// 127.0.0.1 as a static host serves it, driven by the engine's own input. The game itself
// is proven headless and under Node (the page's own code); here the page is proven to
// paint what its module says, whatever the engine does:
// - scripted: the splash's four seconds and the caption; the menu's texts and its greyed
//   levels; Esc on the menu, again and again, with clicks between; a two-player game to
//   its end message with the left, right and middle buttons, the board read from the
//   pixels against the module's; the hand and the hourglass against the computer; #S# and
//   #L#, and Enter and Space after them; a damaged save; Back in a game and on the menu;
//   Tab and Enter alone from the menu to a game; "?" and "X"; a reload with the server
//   gone; a start that fails, and a host that serves the module as no WebAssembly;
// - a seeded random player (random.mjs);
// - in Chromium: a phone's screen played by taps, and axe-core's accessibility rules.
//   browser_test.mjs ENGINE FOLDER MORVEL-CLI [--seed N] [--steps N] [--only random|scripted]
// (a seed a failure names draws the same again: --only random --seed N)
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { launch, serve } from "./engines.mjs";
import { Failure, Page, boardDifference, cellTable, sleep, summary } from "./page.mjs";
import { randomPlayer } from "./random.mjs";

const [engineName, folder, cli, ...rest] = process.argv.slice(2);
const option = (name, otherwise) => {
  const at = rest.indexOf("--" + name);
  return at >= 0 ? rest[at + 1] : otherwise;
};
const cells = cellTable(cli);
const Delay = 400;  // the computer's, shortened through the page's address

const menuOpen = (p) => p.view && p.view.menu !== null && p.dialogs.join() === "nas";
const playing = (p) => p.view && p.view.showsGame && !p.view.hourglass && p.view.box === null &&
                       p.view.menu === null && p.dialogs.length === 0;

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
  return page.wait("a new game", (p) => p.view.showsGame);
}

// The board the screen shows, from its pixels, against the module's.
async function checkBoard(page, what) {
  // A screenshot may show the frame before the last drawing.
  let shown, expected;
  for (let tries = 0; tries < 5; ++tries) {
    expected = (await page.probe()).view.board;
    shown = await page.boardFromPixels();
    if (shown.join() === expected.join()) return;
    await sleep(50);
  }
  throw new Failure(`${what}: ${boardDifference(shown, expected)}`);
}

// Two people to the end: player 1 fills cell 2 while player 2 fills cell 1; player 1's
// fifth piece bursts, takes cell 1, and player 2 has nothing left. A press on the other
// player's cell first is no move.
async function twoPlayers(page, give) {
  let moves = (await page.probe()).moves;
  for (let number = 0; number < 9; ++number) {
    const mine = number % 2 ? 1 : 2;
    if (number === 3) {
      await give(3 - mine, number);
      const p = await page.probe();
      page.check("a press on the other player's cell is no move", p.moves === moves);
    }
    await give(mine, number);
    moves += 1;
    await page.wait(`move ${number + 1}`, (p) => p.moves === moves);
    if (number === 4) await checkBoard(page, "after five moves");
  }
  await page.wait("the end message", (p) => p.boxText === "Konec hry hráč 2 prohrál" && p.dialogs.join() === "box");
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
  await twoPlayers(page, (n, number) => page.press(n, { button: buttons[number % 3] }));
  page.check("the end message's box: its title and its information icon", await page.js(
    "const icon = document.getElementById('box-icon'); " +
    "return document.getElementById('box-title').textContent === 'Morvel' && " +
    "icon !== null && icon.getBoundingClientRect().width === 32"));
  await engine.key("Enter");
  await page.wait("the menu after the end message", menuOpen);
  await escapeOnTheMenu(page);

  // Against the computer: the hand, the hourglass during its delay, its move after it.
  await startGame(page, { mode: 1 });
  p = await page.probe();
  page.check("the hand while the person is to move", p.cursor.includes("hand.png"));
  const moves = p.moves;
  await page.press(24);
  p = await page.wait("the person's move", (p) => p.moves === moves + 1, 1000);
  page.check("the hourglass during the computer's delay", p.cursor.includes("hourglass.png") && p.view.hourglass);
  p = await page.wait("the computer's move", (p) => p.moves === moves + 2, Delay + 3000);
  await checkBoard(page, "after the computer's move");

  // #S# keeps the board; a later Enter or Space saves nothing, nor does it load.
  await page.click("#sav");
  p = await page.probe();
  const saved = p.slot, board = p.view.board;
  page.check("the save's text", saved && saved.split("\r\n").length === 113);
  page.check("a click leaves no focus on #S#", p.focus !== "sav");
  await page.press([...Array(56).keys()].map((i) => i + 1).find((n) => [0, 1].includes(board[2 * n - 2])));
  await page.wait("the computer's move after the save", (p) => p.moves === moves + 4, Delay + 3000);
  for (const key of ["Enter", "Space"]) await engine.key(key);
  p = await page.probe();
  page.check("Enter and Space after #S# save nothing", p.slot === saved);
  await page.click("#nah");
  p = await page.probe();
  page.check("#L# brings the saved board back", p.view.board.join() === board.join() && p.focus !== "nah");
  await checkBoard(page, "the board loaded");
  await page.js("localStorage.setItem('morvel.hra.dat', ' 0 \\r\\n 0 \\r\\n')");
  for (const key of ["Enter", "Space"]) await engine.key(key);
  p = await page.probe();
  page.check("Enter and Space after #L# load nothing", p.dialogs.length === 0 && p.view.board.join() === board.join());
  // A damaged save is refused; Esc closes the box; the board stays.
  await page.click("#nah");
  await page.wait("the damaged save refused", (p) => p.boxText.startsWith("Hru se nepodařilo nahrát. ") && p.dialogs.join() === "box");
  await engine.key("Escape");
  p = await page.wait("the box closed by Esc", (p) => p.dialogs.length === 0);
  page.check("the board after a refused load", p.view.board.join() === board.join());

  // The browser's Back in a game brings the menu, and on the menu (once the player has
  // done something there) the menu stays.
  await engine.back();
  await page.wait("the menu after Back", menuOpen, 3000);
  await page.click("#jhra1");
  const entries = await page.js("return history.length + ' ' + JSON.stringify(history.state)");
  await engine.back();
  await sleep(300);
  p = await page.probe().catch((e) => page.check(`the page after Back on the menu (history ${entries}): ${e}`, false));
  page.check(`the menu after Back on the menu: ${p.href}`, menuOpen(p) && p.href === server.url(`?delay=${Delay}`));

  // Tab and Enter alone: from the menu to a game.
  await page.click("#jhra0");
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
  await page.wait("the information", (p) => p.view.showsInformation && p.information && p.dialogs.length === 0);
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
  await checkBoard(page, "the board, offline");
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
    await twoPlayers(page, (n) => page.press(n, { tap: true }));
    await page.click("#box-ok", { tap: true });
    await page.wait("the menu", menuOpen);
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
