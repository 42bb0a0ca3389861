// The game's WebAssembly module (morvel.wasm) under Node's WASI, with the page's side of it
// kept in memory: its save slot, and what each call said as lines of fields. Shared by the
// module's test and its timing tool.
import { readFileSync } from "node:fs";
import { WASI } from "node:wasi";

export function loadGame(file) {
  const wasi = new WASI({ version: "preview1", args: [], env: {} });
  let exports;
  // The page's storage: the text kept, or a refusal to give for the next save.
  const slot = { text: null, refusal: null };
  const utf8 = new TextEncoder();
  const fromUtf8 = new TextDecoder();
  function reply(text) {
    const bytes = utf8.encode(text);
    new Uint8Array(exports.memory.buffer, exports.morvel_reply_buffer(), bytes.length).set(bytes);
    return bytes.length;
  }
  const imports = {
    wasi_snapshot_preview1: wasi.wasiImport,
    morvel: {
      storage_save(pointer, length) {
        if (slot.refusal) return reply(slot.refusal);
        slot.text = fromUtf8.decode(new Uint8Array(exports.memory.buffer, pointer, length));
        return 0;
      },
      storage_load() {
        if (slot.text === null) return -1 - reply("Úložiště prohlížeče hru neobsahuje.");
        return reply(slot.text);
      },
    },
  };
  const instance = new WebAssembly.Instance(new WebAssembly.Module(readFileSync(file)), imports);
  exports = instance.exports;
  wasi.initialize(instance);

  // What a call said: its lines, each split into its fields.
  function said(pointer) {
    const text = fromUtf8.decode(new Uint8Array(exports.memory.buffer, pointer,
                                                exports.morvel_said_length()));
    return text.split("\n").filter((line) => line).map((line) => line.split("\t"));
  }
  // A press on the middle of cell 1..56.
  function press(cell) {
    const at = exports.morvel_cell_centre(cell);
    return said(exports.morvel_pressed(Math.floor(at / 65536), at % 65536));
  }
  return { exports, slot, said, press };
}

export const find = (lines, kind) => lines.find((line) => line[0] === kind);
export const state = (lines) => find(lines, "state");
export const cell = (column, row) => 7 * (row - 1) + column;
