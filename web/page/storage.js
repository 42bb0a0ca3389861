// The one saved game, in the page's local storage: its text goes in and comes back; a
// refusal says why, in Czech, for the player.
const Key = "morvel.hra.dat";

export function browserStorage(local = () => globalThis.localStorage) {
  return {
    save(text) {
      try {
        local().setItem(Key, text);
        return null;
      } catch (e) {
        return "Úložiště prohlížeče hru nepřijalo: je plné, nebo je vypnuté.";
      }
    },
    load() {
      let text;
      try {
        text = local().getItem(Key);
      } catch (e) {
        return { reason: "Úložiště prohlížeče je vypnuté." };
      }
      if (text === null) return { reason: "V úložišti prohlížeče není uložená hra." };
      return { text };
    },
    tooBig: "Uložená hra v úložišti prohlížeče je příliš velká.",
  };
}
