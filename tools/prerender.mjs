// Writes the splash into the web folder's index.html from the game's own module, as the
// module describes it: the page then paints the splash before its scripts and its module
// have arrived, and the module's description later changes nothing of it.
//   node tools/prerender.mjs FOLDER
import { readFileSync, writeFileSync } from "node:fs";
import { loadGame } from "./wasm_game.mjs";

const folder = process.argv[2];
const { game, elements } = await loadGame(`${folder}/morvel.wasm`);
game.describe();
const escaped = (text) => text.replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
                              .replace(/"/g, "&quot;");
const style = ({ left, top, width, height, pixels, colour }, window = false) =>
  (window ? "" : `left: ${left}px; top: ${top}px; `) + `width: ${width}px; height: ${height}px` +
  (pixels ? `; font-size: ${pixels}px` : "") + (colour ? `; color: ${colour}` : "");
let page = readFileSync(`${folder}/index.html`, "utf8");
const replace = (from, to) => {
  if (!page.includes(from)) throw new Error(`prerender: no ${from} in index.html`);
  page = page.replace(from, to);
};
const { logo } = elements;
replace('<div id="logo" class="window" hidden>',
        `<div id="logo" class="window" style="${style(logo, true)}">`);
replace('<img alt="">', `<img alt="" src="${escaped(logo.picture)}" data-picture="${escaped(logo.picture)}">`);
for (const id of ["logo-title", "logo-address"])
  replace(`<div id="${id}"></div>`,
          `<div id="${id}" style="${style(elements[id])}">${escaped(elements[id].text)}</div>`);
writeFileSync(`${folder}/index.html`, page);
