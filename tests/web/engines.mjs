// The browser build served on 127.0.0.1 as a static host serves it, and the three engines
// players use, each from Debian's packages and driven by its own input pipeline behind one
// small interface: Chromium through chromedriver and WebKit (Safari's engine) through
// WebKitWebDriver with MiniBrowser, both over WebDriver; Firefox ESR over WebDriver BiDi
// with puppeteer-core. Nothing is downloaded.
import { spawn } from "node:child_process";
import { existsSync, readFileSync } from "node:fs";
import { createServer } from "node:http";
import { join, extname, normalize } from "node:path";
import { decodePng } from "./png.mjs";

const Types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
  ".png": "image/png", ".wasm": "application/wasm", ".ttf": "font/ttf",
  ".webmanifest": "application/manifest+json", ".txt": "text/plain; charset=utf-8",
};

// A server of `folder`: `missing` files answer 404, and `wasmType` is what .wasm is served as.
export async function serve(folder) {
  const settings = { missing: new Set(), wasmType: Types[".wasm"] };
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = join(folder, path === "/" ? "index.html" : path);
    if (!file.startsWith(folder) || settings.missing.has(path.slice(1)) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    const type = extname(file) === ".wasm" ? settings.wasmType : Types[extname(file)];
    response.writeHead(200, { "content-type": type || "application/octet-stream",
                              "cache-control": "no-cache" });
    response.end(readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return Object.assign(settings, {
    url: (query = "") => `http://127.0.0.1:${server.address().port}/index.html${query}`,
    stop() {
      server.closeAllConnections();
      return new Promise((resolve) => server.close(resolve));
    },
  });
}

const freePort = () => new Promise((resolve) => {
  const probe = createServer().listen(0, "127.0.0.1", () => {
    const { port } = probe.address();
    probe.close(() => resolve(port));
  });
});
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A program that runs as long as the engine: ended with it, its output kept for a failure.
function run(command, args, env = {}) {
  const child = spawn(command, args, { env: { ...process.env, ...env }, stdio: ["ignore", "pipe", "pipe"] });
  child.log = "";
  const keep = (data) => { child.log = (child.log + data).slice(-4000); };
  child.stdout.on("data", keep);
  child.stderr.on("data", keep);
  return child;
}

// An X server of its own for the engine that needs one, on a display it picks.
async function xvfb() {
  const child = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                      { stdio: ["ignore", "ignore", "ignore", "pipe"] });
  const display = await new Promise((resolve, reject) => {
    let text = "";
    child.stdio[3].on("data", (data) => {
      text += data;
      if (text.includes("\n")) resolve(":" + text.trim());
    });
    child.on("exit", () => reject(new Error("Xvfb ended")));
  });
  return { display, child };
}

const KeyCodes = {  // WebDriver's codes for the keys the tests press
  Escape: "\uE00C", Enter: "\uE007", Tab: "\uE004", Space: " ", ArrowDown: "\uE015",
  ArrowUp: "\uE013", ArrowLeft: "\uE012", ArrowRight: "\uE014",
};
const Buttons = { left: 0, middle: 1, right: 2 };

// An engine over WebDriver (the classic protocol, as chromedriver and WebKitWebDriver
// speak it).
class WebDriverEngine {
  constructor(name, driver, base, session, helpers) {
    Object.assign(this, { name, driver, base, session, helpers });
  }

  static async start(name, command, args, capabilities, env = {}, helpers = []) {
    const port = await freePort();
    const driver = run(command, [...args, `--port=${port}`], env);
    const base = `http://127.0.0.1:${port}`;
    for (let tries = 0; ; ++tries) {
      try {
        await fetch(base + "/status");
        break;
      } catch (e) {
        if (tries > 100) throw new Error(`${command} did not start: ${driver.log}`);
        await sleep(100);
      }
    }
    const engine = new WebDriverEngine(name, driver, base, null, helpers);
    const answer = await engine.call("POST", "/session", { capabilities: { alwaysMatch: capabilities } });
    engine.session = answer.sessionId;
    return engine;
  }

  async call(method, path, body) {
    const where = this.session && path !== "/session" ? `/session/${this.session}${path}` : path;
    const response = await fetch(this.base + where, {
      method, headers: { "content-type": "application/json; charset=utf-8" },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`${this.name}: ${method} ${path}: ${value?.message || response.status}`);
    return value;
  }

  open(url) { return this.call("POST", "/url", { url }); }
  // The value of a function body run in the page (a promise it returns is waited for).
  js(body, ...args) { return this.call("POST", "/execute/sync", { script: body, args }); }
  actions(...sources) { return this.call("POST", "/actions", { actions: sources }); }

  async mouse(x, y, button = "left") {
    const b = Buttons[button];
    await this.actions({ type: "pointer", id: "mouse", parameters: { pointerType: "mouse" }, actions: [
      { type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport", duration: 0 },
      { type: "pointerDown", button: b }, { type: "pointerUp", button: b }] });
  }
  async tap(x, y) {
    await this.actions({ type: "pointer", id: "finger", parameters: { pointerType: "touch" }, actions: [
      { type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport", duration: 0 },
      { type: "pointerDown", button: 0 }, { type: "pointerUp", button: 0 }] });
    await this.call("DELETE", "/actions");
  }
  async key(name) {
    const value = KeyCodes[name] || name;
    await this.actions({ type: "key", id: "keyboard", actions: [
      { type: "keyDown", value }, { type: "keyUp", value }] });
  }
  back() { return this.call("POST", "/back", {}); }
  reload() { return this.call("POST", "/refresh", {}); }
  resize(width, height) { return this.call("POST", "/window/rect", { width, height }); }
  // What shows in the box of the element `selector`, or the whole window.
  async png() { return Buffer.from(await this.call("GET", "/screenshot"), "base64"); }
  // What shows in the box of the element `selector` (cut from the whole window's shot
  // where `cut`), or the whole window.
  async screenshot(selector, cut = false) {
    if (selector && !cut && this.name !== "webkit") {
      const element = Object.values(await this.call("POST", "/element", { using: "css selector", value: selector }))[0];
      return decodePng(Buffer.from(await this.call("GET", `/element/${element}/screenshot`), "base64"));
    }
    const shot = decodePng(Buffer.from(await this.call("GET", "/screenshot"), "base64"));
    if (!selector) return shot;
    // WebKit's element screenshots lose the element's lower rows: it is cut from the
    // window's.
    const [r, width] = await this.js("return [document.querySelector(arguments[0]).getBoundingClientRect().toJSON(), innerWidth]", selector);
    const k = shot.width / width, x0 = Math.floor(r.x * k), y0 = Math.floor(r.y * k);
    return { width: Math.round(r.width * k), height: Math.round(r.height * k), at: (x, y) => shot.at(x0 + x, y0 + y) };
  }
  async quit() {
    await this.call("DELETE", "").catch(() => {});
    this.driver.kill();
    for (const helper of this.helpers) helper.kill();
  }
}

// Firefox over WebDriver BiDi (Debian has no geckodriver; Firefox speaks it itself).
class FirefoxEngine {
  static async start(width, height) {
    const { default: puppeteer } = await import("puppeteer-core");
    const engine = new FirefoxEngine();
    engine.name = "firefox";
    engine.browser = await puppeteer.launch({
      browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true,
      defaultViewport: null,
    });
    engine.page = (await engine.browser.pages())[0] || await engine.browser.newPage();
    await engine.resize(width, height);
    return engine;
  }
  open(url) { return this.page.goto(url); }
  js(body, ...args) {
    return this.page.evaluate((body, args) => new Function(body)(...args), body, args);
  }
  async mouse(x, y, button = "left") {
    await this.page.mouse.move(x, y);
    await this.page.mouse.down({ button });
    await this.page.mouse.up({ button });
  }
  tap(x, y) { return this.page.touchscreen.tap(x, y); }
  key(name) { return this.page.keyboard.press(name === "Space" ? " " : name); }
  // The browser's own Back; a Back within the page is no navigation to wait for.
  back() { return this.page.goBack({ timeout: 1500 }).catch(() => null); }
  reload() { return this.page.reload(); }
  // BiDi's own command: puppeteer's setViewport also overrides the screen's orientation,
  // which Debian 12's Firefox ESR 140 does not know.
  resize(width, height) {
    return this.page.mainFrame().browsingContext.setViewport({ viewport: { width, height } });
  }
  async png() { return Buffer.from(await this.page.screenshot()); }
  async screenshot(selector) {
    const target = selector ? await this.page.$(selector) : this.page;
    return decodePng(Buffer.from(await target.screenshot()));
  }
  quit() { return this.browser.close().catch(() => {}); }
}

function miniBrowser() {
  for (const version of ["4.1", "4.0", "6.0"]) {
    const path = `/usr/lib/x86_64-linux-gnu/webkit2gtk-${version}/MiniBrowser`;
    if (existsSync(path)) return path;
  }
  throw new Error("no MiniBrowser (package libwebkit2gtk-4.1-0)");
}

// A fresh engine with a window of `width` × `height` CSS pixels; `phone` emulates a
// phone's screen and touch (Chromium's device emulation).
export async function launch(name, { width = 1024, height = 768, phone = false } = {}) {
  if (name === "firefox") return FirefoxEngine.start(width, height);
  if (name === "chromium") {
    const options = {
      binary: "/usr/bin/chromium",
      args: ["--headless=new", "--no-sandbox", "--disable-gpu", `--window-size=${width},${height}`],
    };
    if (phone)
      options.mobileEmulation = { deviceMetrics: { width: 360, height: 640, pixelRatio: 2, touch: true, mobile: true } };
    const engine = await WebDriverEngine.start("chromium", "/usr/bin/chromedriver", [],
                                               { browserName: "chrome", "goog:chromeOptions": options });
    // The page has the focus, as the one window on a player's screen has.
    await engine.call("POST", "/goog/cdp/execute", { cmd: "Emulation.setFocusEmulationEnabled", params: { enabled: true } });
    return engine;
  }
  if (name === "webkit") {
    const x = await xvfb();
    const engine = await WebDriverEngine.start("webkit", "WebKitWebDriver", [], {
      "webkitgtk:browserOptions": { binary: miniBrowser(), args: ["--automation"] },
    }, { DISPLAY: x.display }, [x.child]);
    await engine.resize(width, height + 38);  // the window's frame and its bar
    return engine;
  }
  throw new Error("no engine " + name);
}
