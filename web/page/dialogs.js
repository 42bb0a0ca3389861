// The menu and the message box: open exactly as the module says, whatever the browser did.
// A browser may close a modal dialog by itself (Esc, however its cancel is refused): the
// module is told, and says again what is open.

export function dialogs(document, closed) {
  const all = () => [...document.querySelectorAll("dialog")];
  for (const dialog of all()) dialog.addEventListener("close", () => closed());
  return {
    openDialog(name) {
      for (const dialog of all()) {
        if (dialog.id === name && !dialog.open) {
          // A picture's hovered look does not outlast its dialog.
          for (const image of dialog.querySelectorAll("img[data-picture]"))
            image.src = image.dataset.picture;
          dialog.showModal();
          // Not on "?" or "X", where a stray Enter would leave the menu.
          (dialog.querySelector("input:checked") ?? dialog.querySelector("#box-ok"))?.focus();
        } else if (dialog.id !== name && dialog.open) {
          dialog.close();
        }
      }
    },
    // The open box, if any: Enter answers it wherever the focus is, as Esc does.
    openBox: () => all().find((dialog) => dialog.open && dialog.querySelector("#box-ok")),
  };
}
