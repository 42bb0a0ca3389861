// The game in a browser: a thin frontend over the game's controller, which runs as
// WebAssembly (morvel.wasm). Each event goes to the module, which answers with the effects
// to apply, one a line (web/bridge.h); nothing of the turn cycle is decided here.

const $ = (id) => document.getElementById(id);
const Twips = 15;  // to a pixel
const TimerNames = ["none", "splash", "start-up", "set-up", "computer"];
const StorageKey = "morvel.hra.dat";

let game;  // the module's exports
let playing = false;  // the module has its game, and takes events
const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder();

// -- what the module needs of the page: a clock, a console, and the save's slot --------
// A text for the module, written into its reply buffer: its length in bytes, or -1 when it
// does not fit. Nothing from outside enters the module's memory past that buffer.
function reply(text) {
  const capacity = game.morvel_reply_capacity();
  if (text.length > capacity) return -1;  // a UTF-8 text has at least as many bytes
  const buffer = new Uint8Array(game.memory.buffer, game.morvel_reply_buffer(), capacity);
  const { read, written } = utf8.encodeInto(text, buffer);
  return read === text.length ? written : -1;
}
// A load that gives no text: -1 - the length of the reason written instead.
const refusal = (reason) => -1 - reply(reason);
const imports = {
  wasi_snapshot_preview1: {
    clock_time_get(id, precision, out) {
      new DataView(game.memory.buffer).setBigUint64(
        out, BigInt(Math.round(performance.now() * 1e6)), true);
      return 0;
    },
    fd_write(fd, iovs, count, written) {
      const view = new DataView(game.memory.buffer);
      let text = "", total = 0;
      for (let i = 0; i < count; ++i) {
        const at = view.getUint32(iovs + 8 * i, true), length = view.getUint32(iovs + 8 * i + 4, true);
        text += fromUtf8.decode(new Uint8Array(game.memory.buffer, at, length));
        total += length;
      }
      view.setUint32(written, total, true);
      console.warn(text);
      return 0;
    },
    fd_close: () => 8,  // EBADF: the module has no files
    fd_seek: () => 8,
    proc_exit(code) { throw new Error("morvel.wasm ended with status " + code); },
  },
  morvel: {
    // The save in the page's local storage; a refusal says why, in Czech.
    storage_save(pointer, length) {
      try {
        localStorage.setItem(StorageKey,
                             fromUtf8.decode(new Uint8Array(game.memory.buffer, pointer, length)));
        return 0;
      } catch (e) {
        return reply("Úložiště prohlížeče hru nepřijalo: je plné, nebo je vypnuté.");
      }
    },
    storage_load() {
      let text;
      try {
        text = localStorage.getItem(StorageKey);
      } catch (e) {
        return refusal("Úložiště prohlížeče je vypnuté.");
      }
      if (text === null) return refusal("V úložišti prohlížeče není uložená hra.");
      // Anything on the page's origin may have written the slot.
      const length = reply(text);
      return length >= 0 ? length
                         : refusal("Uložená hra v úložišti prohlížeče je příliš velká.");
    },
  },
};

// What a call said, as lines split into fields.
function said(pointer) {
  const text = fromUtf8.decode(new Uint8Array(game.memory.buffer, pointer, game.morvel_said_length()));
  return text.split("\n").filter((line) => line).map((line) => line.split("\t"));
}
const line = (lines, kind) => lines.find(([k]) => k === kind);

// What the module says the screen shows now (bridge.h), for the page's tests and the
// curious at the console; it changes nothing.
window.morvelView = () => (playing ? said(game.morvel_view()) : null);

// -- the frontend's own facts ----------------------------------------------------------
let timer = null;           // the one running timer
let customPointer = true;   // the board's image, or the arrow over the background
let hourglass = false;
let scale = 1;              // of the layout, below 1 where the window is too small for it
const pictures = {};

function send(pointer) { apply(said(pointer)); }

function apply(lines) {
  let gameWindowDue = false, state;
  for (const [kind, ...fields] of lines) {
    switch (kind) {
      case "timer":
        clearTimeout(timer);
        timer = null;
        if (fields[0] !== "none") {
          const which = TimerNames.indexOf(fields[0]);
          timer = setTimeout(() => { timer = null; send(game.morvel_timer_due(which)); },
                             Number(fields[1]));
        }
        break;
      case "redraw": drawBoard(); break;
      case "labels":
        $("label-round").textContent = fields[0];
        $("label-player").textContent = fields[1];
        $("label-player").style.color = fields[2];
        break;
      case "pointer": customPointer = true; break;
      case "tile": tileBackground(); break;
      case "show-game": gameWindowDue = true; break;
      case "quit":
        for (const id of ["logo", "hra"]) $(id).hidden = true;
        $("ended").hidden = false;
        break;
      case "moved": document.body.dataset.moves = Number(document.body.dataset.moves || 0) + 1; break;
      case "warn": console.warn("morvel: " + fields[0]); break;
      case "state": follow(fields); state = fields; break;
      // The menu and the boxes: below, from what the module says is open.
    }
  }
  if (gameWindowDue) {
    $("logo").hidden = true;
    $("hra").hidden = false;
    layOut();
    drawBoard();
    send(game.morvel_shown(1));
    return;
  }
  // The module's whole view only where the dialogs open are not the ones its state says.
  const box = state[4] === "1", menu = state[0] === "Menu" && !box;
  if (box !== $("box").open || menu !== $("nas").open) showDialogs();
}

// What shows, and the pointer, from the controller's state.
function follow([phase, showsGame, showsInformation, pending]) {
  for (const id of ["plocha", "kbod", "label-round", "label-player", "sav", "nah"])
    $(id).style.visibility = showsGame === "1" ? "visible" : "hidden";
  $("information").style.visibility = showsInformation === "1" ? "visible" : "hidden";
  hourglass = pending === "1";
  document.body.dataset.phase = phase;
  showPointer();
}

function showPointer() {
  $("hra").style.cursor = !customPointer ? "default"
                          : hourglass ? "url(hourglass.png) 0 0, wait" : "url(hand.png) 7 7, pointer";
}

// -- drawing ---------------------------------------------------------------------------
// Device pixels to a pixel of the layout.
const pixelRatio = () => (window.devicePixelRatio || 1) * scale;

function canvasOf(id, width, height) {
  const canvas = $(id), ratio = pixelRatio();
  canvas.style.width = width + "px";
  canvas.style.height = height + "px";
  canvas.width = Math.round(width * ratio);
  canvas.height = Math.round(height * ratio);
  const context = canvas.getContext("2d");
  context.setTransform(ratio / Twips, 0, 0, ratio / Twips, 0, 0);  // in twips
  return context;
}

function drawBoard() {
  const ratio = pixelRatio();
  const board = canvasOf("plocha", 306, 351), bar = canvasOf("kbod", 306, 10);
  board.imageSmoothingEnabled = true;
  board.drawImage(pictures.board, 0, 0, 4590, 5265);
  for (const [kind, ...f] of said(game.morvel_drawing(4590, 150))) {
    if (kind === "disc") {
      // Filled half a device pixel wider, as the desktop outlines each disc in its colour.
      board.fillStyle = f[3];
      board.beginPath();
      board.arc(Number(f[0]), Number(f[1]), Number(f[2]) + 7.5 / ratio, 0, 2 * Math.PI);
      board.fill();
    } else if (kind === "bar") {
      const width = f[5] === "1" ? Math.max(Number(f[2]), Twips / ratio) : Number(f[2]);
      bar.fillStyle = f[4];
      bar.fillRect(Number(f[0]), Number(f[1]), width, Number(f[3]));
    }
  }
}

// The tiles from the window's corner, each a little over its neighbours as on the desktop.
function tileBackground() {
  const width = layout.width, height = layout.height;
  const context = canvasOf("background", width, height);
  context.fillStyle = "black";
  context.fillRect(0, 0, width * Twips, height * Twips);
  // The tile's size in CSS pixels, whichever of its pictures was loaded.
  const scale = pictures.tile.naturalWidth > 80 ? 2 : 1;
  const w = pictures.tile.naturalWidth / scale, h = pictures.tile.naturalHeight / scale;
  const step = (pixels) => Math.round(pixels * 2540 / 96) / 2;
  for (let y = 1; y <= height * Twips; y += step(h))
    for (let x = 1; x <= width * Twips; x += step(w))
      context.drawImage(pictures.tile, x, y, w * Twips, h * Twips);
  tiled = true;
}
let tiled = false;

// The board where the desktop puts it on a screen of the window's size. A window too small
// for that layout (a phone in portrait) shows it as on the smallest screen the board and
// the information fit on whole, scaled down to the window.
const layout = { width: 0, height: 0 };
function boardPlace(width, height) {
  const place = game.morvel_board_place(width, height);
  return { x: Math.floor(place / 65536), y: place % 65536 };
}
function layOut() {
  // Measured, not painted (nothing paints before this task ends), also before the game
  // window shows.
  const information = $("information"), hidden = $("hra").hidden;
  $("hra").hidden = false;
  let width = information.offsetLeft + information.offsetWidth;
  let height = information.offsetTop + information.offsetHeight;
  $("hra").hidden = hidden;
  while (boardPlace(width, height).x + 306 > width) ++width;
  while (boardPlace(width, height).y + 351 > height) ++height;
  scale = Math.min(1, window.innerWidth / width, window.innerHeight / height);
  layout.width = Math.round(window.innerWidth / scale);
  layout.height = Math.round(window.innerHeight / scale);
  Object.assign($("hra").style, { width: layout.width + "px", height: layout.height + "px",
                                  transform: scale < 1 ? `scale(${scale})` : "" });
  const { x, y } = boardPlace(layout.width, layout.height);
  Object.assign($("plocha").style, { left: x + "px", top: y + "px" });
  Object.assign($("kbod").style, { left: x + "px", top: y - 10 + "px" });
}

// -- the boxes and the menu ------------------------------------------------------------
// Open as the module says, whatever the browser did: a browser may close a modal dialog
// by itself (Esc, however its cancel is refused), and then it opens again.
function showDialogs() {
  const view = said(game.morvel_view());
  const box = line(view, "box"), menu = line(view, "menu");
  if (box) {
    if ($("box-text").textContent !== box[2] || !$("box").open) {
      $("box-text").textContent = box[2];
      if (!$("box").open) $("box").showModal();
      $("box-ok").focus();
    }
  } else if ($("box").open) {
    $("box").close();
  }
  if (menu) {
    showMenu(menu.slice(1));
    if (!$("nas").open) {
      startButton.src = "start.png";
      $("nas").showModal();
      // Not on "?" or "X", where a stray Enter would leave the menu.
      document.querySelector('#nas input[name="mode"]:checked').focus();
    }
  } else if ($("nas").open) {
    $("nas").close();
  }
}
$("box-ok").addEventListener("click", () => $("box").close());
// The box closed (its OK, Enter, Esc, or the browser): the module's, if it had one open.
$("box").addEventListener("close", () => {
  if (line(said(game.morvel_view()), "box")) send(game.morvel_box_closed());
  else showDialogs();
});
$("nas").addEventListener("close", showDialogs);

// The menu as the module's line says it is (bridge.h); the module applies its rules to
// each choice.
function showMenu([mode, level, levelsEnabled]) {
  document.querySelector(`#jhra${mode === "against-computer" ? 1 : 0} input`).checked = true;
  document.querySelector(`#obtt${level === "high" ? 1 : 0} input`).checked = true;
  for (const id of ["obtt0", "obtt1"])
    document.querySelector(`#${id} input`).disabled = levelsEnabled !== "1";
}
["jhra0", "jhra1", "obtt0", "obtt1"].forEach((id, entry) =>
  document.querySelector(`#${id} input`).addEventListener("click", () =>
    showMenu(said(game.morvel_menu_choose(entry))[0].slice(1))));
// Only its three buttons leave the menu: Esc does not.
$("nas").addEventListener("cancel", (event) => event.preventDefault());
const startButton = document.querySelector("#pp3 img");
$("pp3").addEventListener("mouseenter", () => { startButton.src = "start-hover.png"; });
$("pp3").addEventListener("mouseleave", () => { startButton.src = "start.png"; });
$("pp3").addEventListener("click", () => { startButton.src = "start.png"; send(game.morvel_menu_closed(0)); });
$("info").addEventListener("click", () => send(game.morvel_menu_closed(1)));
$("command2").addEventListener("click", () => send(game.morvel_menu_closed(2)));

// -- input -----------------------------------------------------------------------------
// A press with any button is a move, as on the desktop; a button pressed while another is
// held comes as a pointer's move with that button, not as a second pointerdown.
function pressed(event) {
  // The press is the game's: it moves no focus, so a box it opens keeps its OK button's.
  event.preventDefault();
  const box = $("plocha").getBoundingClientRect(), twips = 306 * Twips / box.width;
  send(game.morvel_pressed(Math.floor((event.clientX - box.left) * twips),
                           Math.floor((event.clientY - box.top) * twips)));
}
const ButtonBits = [1, 4, 2, 8, 16];  // event.buttons' bit of event.button 0..4
$("plocha").addEventListener("pointerdown", pressed);
$("plocha").addEventListener("contextmenu", (event) => event.preventDefault());
$("plocha").addEventListener("pointermove", (event) => {
  event.stopPropagation();
  if (event.button >= 0 && event.buttons & ButtonBits[event.button]) pressed(event);
  customPointer = true;
  showPointer();
});
$("hra").addEventListener("pointermove", () => { customPointer = false; showPointer(); });
// A click does not leave the focus on #S# or #L#, where a later Enter or Space would save
// or load again unasked; Tab still reaches them, for a player without a mouse.
for (const id of ["sav", "nah"]) $(id).addEventListener("mousedown", (event) => event.preventDefault());
$("sav").addEventListener("click", () => send(game.morvel_save()));
$("nah").addEventListener("click", () => send(game.morvel_load()));
document.addEventListener("keydown", (event) => {
  if (!playing) return;
  if (event.key === "Escape") {
    // Where the browser honours it, no close of the menu to undo.
    if ($("nas").open) event.preventDefault();
    send(game.morvel_escape());
  }
  // Enter answers a box wherever the focus is, as Esc does.
  if (event.key === "Enter" && $("box").open) {
    event.preventDefault();
    $("box").close();
  }
});
// A phone turned, or a window resized: the layout of the new size.
window.addEventListener("resize", () => {
  if ($("hra").hidden) return;
  layOut();
  if (tiled) tileBackground();
  drawBoard();
});

// A touch screen has no Esc: the browser's Back (a phone's back gesture too) does what Esc
// does, and the page stays. The entry Back leaves is pushed at a person's press or key
// (Esc is none) rather than at load: WebKit skips, on Back, an entry that no gesture of the
// person made. A reload keeps the entry it was on, which the document before this one
// pushed, and Back from it would load the page anew: it counts as none.
if (history.state?.morvel === "guard") history.replaceState(null, "");
function guard(event) {
  if (event.key !== "Escape" && history.state?.morvel !== "guard")
    history.pushState({ morvel: "guard" }, "");
}
for (const kind of ["pointerup", "click", "touchend", "keydown"]) window.addEventListener(kind, guard, true);
window.addEventListener("popstate", () => {
  if (playing) send(game.morvel_escape());
});

// -- the start ---------------------------------------------------------------------------
function picture(name) {
  return new Promise((resolve, reject) => {
    const image = new Image();
    image.onload = () => resolve(image);
    image.onerror = () => reject(new Error("obrázek " + name));
    image.src = name;
  });
}

// The module, compiled as it arrives where the host says what it is (application/wasm),
// else from its bytes.
async function instantiate() {
  let response;
  try {
    response = await fetch("morvel.wasm");
  } catch (e) {
    throw new Error("soubor morvel.wasm (bez připojení)");
  }
  if (!response.ok) throw new Error(`soubor morvel.wasm (${response.status})`);
  try {
    return await WebAssembly.instantiateStreaming(response.clone(), imports);
  } catch (e) {
    try {
      return await WebAssembly.instantiate(await response.arrayBuffer(), imports);
    } catch (e) {
      throw new Error("soubor morvel.wasm (" + e.name + ")");
    }
  }
}

async function start() {
  const [module] = await Promise.all([
    instantiate(),
    // Without its face the game still plays, in the browser's own.
    document.fonts.load('bold 16px "DejaVu Sans"').catch(() => []),
  ]);
  game = module.instance.exports;
  game._initialize();
  // The sharp pictures only where the screen has the pixels for them.
  layOut();
  const sharp = pixelRatio() > 1;
  [pictures.board, pictures.tile] = await Promise.all(
    [picture(sharp ? "board@2x.png" : "board.png"), picture(sharp ? "tile@2x.png" : "tile.png")]);
  // A delay of the page's address, for trying the game quickly: up to a minute, else the
  // game's own.
  const delay = Number(new URLSearchParams(location.search).get("delay"));
  send(game.morvel_start(Number.isInteger(delay) && delay >= 1 && delay <= 60000 ? delay : 0));
  playing = true;
  $("logo").hidden = false;
  requestAnimationFrame(() => send(game.morvel_shown(0)));
}
if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
start().catch((error) => {
  // Whatever failed, the splash does not stand for ever.
  playing = false;
  for (const id of ["logo", "hra"]) $(id).hidden = true;
  $("failed").textContent =
    `Hru se nepodařilo spustit: nenačetl se ${error.message}. Zkuste stránku načíst znovu.`;
  $("failed").hidden = false;
  console.error(error);
});
