// What the player does on the page, passed on to the module: presses on the board with any
// button, the pointer's moves, Esc and Enter, the browser's Back, a resized window.

export function input(document, window, game, { openBox, layOut }) {
  const $ = (id) => document.getElementById(id);
  const board = $("plocha");
  // A press with any button is a move, as on the desktop; a button pressed while another is
  // held comes as a pointer's move with that button, not as a second pointerdown.
  function pressed(event) {
    // The press is the game's: it moves no focus, so a box it opens keeps its OK button's.
    event.preventDefault();
    const box = board.getBoundingClientRect(), pixels = board.offsetWidth / box.width;
    game.pressed((event.clientX - box.left) * pixels, (event.clientY - box.top) * pixels);
  }
  const ButtonBits = [1, 4, 2, 8, 16];  // event.buttons' bit of event.button 0..4
  board.addEventListener("pointerdown", pressed);
  board.addEventListener("contextmenu", (event) => event.preventDefault());
  board.addEventListener("pointermove", (event) => {
    event.stopPropagation();
    if (event.button >= 0 && event.buttons & ButtonBits[event.button]) pressed(event);
    game.pointerMoved(true);
  });
  $("hra").addEventListener("pointermove", () => game.pointerMoved(false));
  // A click does not leave the focus on #S# or #L#, where a later Enter or Space would save
  // or load again unasked; Tab still reaches them, for a player without a mouse.
  for (const id of ["sav", "nah"]) $(id).addEventListener("mousedown", (event) => event.preventDefault());
  $("box-ok").addEventListener("click", () => openBox()?.close());
  document.addEventListener("keydown", (event) => {
    if (event.key === "Escape") {
      // Where the browser honours it, no close of the menu to undo.
      if (document.querySelector("dialog[open]") && !openBox()) event.preventDefault();
      game.escape();
    }
    if (event.key === "Enter" && openBox()) {
      event.preventDefault();
      openBox().close();
    }
  });
  // Only its three buttons leave the menu: Esc does not.
  for (const dialog of document.querySelectorAll("dialog"))
    dialog.addEventListener("cancel", (event) => { if (dialog !== openBox()) event.preventDefault(); });
  window.addEventListener("resize", () => { if (!$("hra").hidden) layOut(); });

  // A touch screen has no Esc: the browser's Back (a phone's back gesture too) does what Esc
  // does, and the page stays. The entry Back leaves is pushed at a person's press or key
  // (Esc is none) rather than at load: WebKit skips, on Back, an entry that no gesture of the
  // person made. A reload keeps the entry it was on, which the document before this one
  // pushed, and Back from it would load the page anew: it counts as none.
  const history = window.history;
  if (history.state?.morvel === "guard") history.replaceState(null, "");
  function guard(event) {
    if (event.key !== "Escape" && history.state?.morvel !== "guard")
      history.pushState({ morvel: "guard" }, "");
  }
  for (const kind of ["pointerup", "click", "touchend", "keydown"]) window.addEventListener(kind, guard, true);
  window.addEventListener("popstate", () => game.escape());
}
