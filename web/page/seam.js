// The seam between the page and the game's module (morvel.wasm): the module calls the
// page's functions (a `page` object, one method each, web/bridge.h's Page) with numbers and
// texts, and the page passes each event on through `game`. Nothing here knows what a
// number means: a timer's, a window's or a control's number is handed back as it came.

const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder();
const css = (red, green, blue) => `rgb(${red}, ${green}, ${blue})`;

// `instantiate(imports)` gives the module's instance; `page` paints, `storage` keeps the
// save (save(text): null or why not; load(): { text } or { reason }).
export async function connect(instantiate, page, storage) {
  let exports;
  // Where the module's calls go: the page, or what the view is being written down in.
  let target = page;
  const memory = () => exports.memory.buffer;
  const text = (pointer, length) => fromUtf8.decode(new Uint8Array(memory(), pointer, length));

  // A text for the module, written into its reply buffer: its length in bytes, or -1 when
  // it does not fit. Nothing from outside enters the module's memory past that buffer.
  function reply(value) {
    const capacity = exports.morvel_reply_capacity();
    if (value.length > capacity) return -1;  // a UTF-8 text has at least as many bytes
    const buffer = new Uint8Array(memory(), exports.morvel_reply_buffer(), capacity);
    const { read, written } = utf8.encodeInto(value, buffer);
    return read === value.length ? written : -1;
  }
  const refusal = (reason) => -1 - reply(reason);

  const morvel = {
    storage_save(pointer, length) {
      const refused = storage.save(text(pointer, length));
      return refused === null ? 0 : reply(refused);
    },
    storage_load() {
      const got = storage.load();
      if (got.text === undefined) return refusal(got.reason);
      // Anything on the page's origin may have written the slot.
      const length = reply(got.text);
      return length >= 0 ? length : refusal(storage.tooBig);
    },
    start_timer: (timer, ms) => target.startTimer(timer, ms),
    stop_timers: () => target.stopTimers(),
    move_played: (player) => target.movePlayed(player),
    warn: (p, n) => target.warn(text(p, n)),
    title: (p, n) => target.title(text(p, n)),
    place: (p, n, left, top, width, height, fits) =>
      target.place(text(p, n), left, top, width, height, fits !== 0),
    face: (p, n, pixels, red, green, blue, own) =>
      target.face(text(p, n), pixels, own ? null : css(red, green, blue)),
    tooltip: (p, n, t, m) => target.tooltip(text(p, n), text(t, m)),
    accessible_name: (p, n, t, m) => target.accessibleName(text(p, n), text(t, m)),
    image: (p, n, f, m, h, k) => target.image(text(p, n), text(f, m), text(h, k)),
    action: (p, n, action) => target.action(text(p, n), action),
    preload: (p, n) => target.preload(text(p, n)),
    show_window: (p, n, shown) => target.showWindow(text(p, n), shown),
    visible: (p, n, visible) => target.visible(text(p, n), visible !== 0),
    text: (p, n, t, m) => target.text(text(p, n), text(t, m)),
    colour: (p, n, red, green, blue) => target.colour(text(p, n), css(red, green, blue)),
    pointer: (p, n, x, y, s, m) => target.pointer(text(p, n), x, y, text(s, m)),
    check: (p, n, checked, enabled) => target.check(text(p, n), checked !== 0, enabled !== 0),
    open_dialog: (p, n) => target.openDialog(text(p, n)),
    layout: (width, height, scale) => target.layout(width, height, scale),
    surface: (p, n, width, height, units, devicePixels) =>
      target.surface(text(p, n), width, height, units, devicePixels),
    picture: (p, n, x, y, width, height) => target.picture(text(p, n), x, y, width, height),
    picture_width: (p, n) => target.pictureWidth(text(p, n)),
    picture_height: (p, n) => target.pictureHeight(text(p, n)),
    disc: (x, y, radius, red, green, blue) => target.disc(x, y, radius, css(red, green, blue)),
    box: (x, y, width, height, red, green, blue) =>
      target.box(x, y, width, height, css(red, green, blue)),
  };
  // What the C library of the module asks of its system: a clock, and a console.
  const wasi = {
    clock_time_get(id, precision, out) {
      new DataView(memory()).setBigUint64(out, BigInt(Math.round(performance.now() * 1e6)), true);
      return 0;
    },
    fd_write(fd, iovs, count, written) {
      const view = new DataView(memory());
      let said = "", total = 0;
      for (let i = 0; i < count; ++i) {
        const at = view.getUint32(iovs + 8 * i, true), length = view.getUint32(iovs + 8 * i + 4, true);
        said += text(at, length);
        total += length;
      }
      view.setUint32(written, total, true);
      page.warn(said);
      return 0;
    },
    fd_close: () => 8,  // EBADF: the module has no files
    fd_seek: () => 8,
    proc_exit(code) { throw new Error("morvel.wasm ended with status " + code); },
  };

  const instance = await instantiate({ wasi_snapshot_preview1: wasi, morvel });
  exports = instance.exports;
  exports._initialize();

  // The events. A number the page measured is passed as it is; the module bounds it.
  return {
    describe: () => exports.morvel_describe(),
    start: (delay) => exports.morvel_start(delay),
    shown: (window) => exports.morvel_shown(window),
    timerDue: (timer) => exports.morvel_timer_due(timer),
    pressed: (x, y) => exports.morvel_pressed(x, y),
    pointerMoved: (onBoard) => exports.morvel_pointer_moved(onBoard ? 1 : 0),
    escape: () => exports.morvel_escape(),
    act: (action) => exports.morvel_act(action),
    dialogClosed: () => exports.morvel_dialog_closed(),
    layOut: (width, height, right, bottom, devicePixels) =>
      exports.morvel_lay_out(width, height, right, bottom, devicePixels),
    // What the module says the screens show now, written down rather than painted, and
    // the board's cells: for the page's tests and the curious at the console.
    view() {
      const said = { visible: {}, text: {}, colour: {}, check: {} };
      target = {
        showWindow: (name) => { said.window = name; },
        visible: (control, visible) => { said.visible[control] = visible; },
        text: (control, text) => { said.text[control] = text; },
        colour: (control, colour) => { said.colour[control] = colour; },
        pointer: (picture, x, y, shape) => { said.pointer = picture || shape; },
        check: (control, checked, enabled) => { said.check[control] = { checked, enabled }; },
        openDialog: (name) => { said.dialog = name; },
      };
      try {
        exports.morvel_paint();
      } finally {
        target = page;
      }
      said.cells = [];
      said.middles = [];
      for (let cell = 1; cell <= exports.morvel_cells(); ++cell)
        said.cells.push(exports.morvel_cell_owner(cell), exports.morvel_cell_count(cell));
      for (let cell = 1; cell <= exports.morvel_cells(); ++cell)
        said.middles.push([exports.morvel_cell_x(cell), exports.morvel_cell_y(cell)]);
      return said;
    },
  };
}
