// The game in a browser: a thin frontend over the game, which runs as WebAssembly
// (morvel.wasm). The module says what every screen shows (seam.js); the page paints it and
// passes on what the player does. Nothing of the game is decided here.
import { connect } from "./seam.js";
import { dialogs } from "./dialogs.js";
import { input } from "./input.js";
import { painter, pictures } from "./painter.js";
import { screen } from "./screen.js";
import { browserStorage } from "./storage.js";

const $ = (id) => document.getElementById(id);

// The module, compiled as it arrives where the host says what it is (application/wasm),
// else from its bytes.
async function instantiate(imports) {
  let response;
  try {
    response = await fetch("morvel.wasm");
  } catch (e) {
    throw new Error("soubor morvel.wasm (bez připojení)");
  }
  if (!response.ok) throw new Error(`soubor morvel.wasm (${response.status})`);
  try {
    return (await WebAssembly.instantiateStreaming(response.clone(), imports)).instance;
  } catch (e) {
    try {
      return (await WebAssembly.instantiate(await response.arrayBuffer(), imports)).instance;
    } catch (e) {
      throw new Error("soubor morvel.wasm (" + e.name + ")");
    }
  }
}

async function start() {
  let game, timer = null;
  // The layout the module works out for the window: measured, not painted (nothing paints
  // before this task ends), also before the game window shows.
  function layOut() {
    const information = $("information"), hidden = $("hra").hidden;
    $("hra").hidden = false;
    const right = information.offsetLeft + information.offsetWidth;
    const bottom = information.offsetTop + information.offsetHeight;
    $("hra").hidden = hidden;
    game.layOut(window.innerWidth, window.innerHeight, right, bottom, window.devicePixelRatio || 1);
  }
  let scale = 1;  // as the module laid the window out: the sharp pictures follow it
  // The pictures the drawing needs: a window is laid out and told shown once they are in.
  let ready = null;
  const shown = (window) => ready.then(() => {
    layOut();
    game.shown(window);
  });
  const dom = screen(document, { shown, act: (a) => game.act(a) });
  const loaded = pictures();
  const page = {
    ...dom,
    ...painter($, loaded),
    ...dialogs(document, () => game.dialogClosed()),
    layout(width, height, fitted) {
      scale = fitted;
      dom.layout(width, height, fitted);
    },
    preload: loaded.preload,
    startTimer(which, ms) {
      clearTimeout(timer);
      timer = setTimeout(() => { timer = null; game.timerDue(which); }, ms);
    },
    stopTimers() { clearTimeout(timer); timer = null; },
  };
  const storage = browserStorage();
  [game] = await Promise.all([
    connect(instantiate, page, storage),
    // Without its face the game still plays, in the browser's own.
    document.fonts.load('bold 16px "DejaVu Sans"').catch(() => []),
  ]);
  window.morvelView = game.view;
  game.describe();
  layOut();
  ready = loaded.ready((window.devicePixelRatio || 1) * scale > 1);
  ready.catch(() => {});  // said below, once the splash shows
  input(document, window, game, { openBox: page.openBox, layOut });
  // A delay of the page's address, for trying the game quickly: up to a minute, else the
  // game's own. The splash shows at once; its time runs from when the pictures are in.
  const delay = Number(new URLSearchParams(location.search).get("delay"));
  game.start(Number.isInteger(delay) && delay >= 1 && delay <= 60000 ? delay : 0);
  await ready;
}

if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
start().catch((error) => {
  // Whatever failed, the splash does not stand for ever.
  for (const window of document.querySelectorAll("main > *")) window.hidden = window.id !== "failed";
  $("failed").textContent =
    `Hru se nepodařilo spustit: nenačetl se ${error.message}. Zkuste stránku načíst znovu.`;
  console.error(error);
});
