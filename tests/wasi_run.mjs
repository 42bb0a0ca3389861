// Runs a WebAssembly command (a wasm32-wasi program with a main) under Node's WASI, with
// this process's arguments after its name, its environment and its standard streams, and
// ends with its status.
//   node wasi_run.mjs PROGRAM.wasm [ARGUMENT...]
import { readFileSync } from "node:fs";
import { WASI } from "node:wasi";

const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: "preview1", args: [program, ...args], env: process.env,
                        returnOnExit: true });
const module = await WebAssembly.compile(readFileSync(program));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instance);
