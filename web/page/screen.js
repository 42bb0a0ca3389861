// The page's windows and controls as the module describes and shows them: places, faces,
// texts, tooltips, names for screen readers, what shows, the labels' colour, the pointer.
// Every element is named as the screens name the control (the module's names).

export function screen(document, { shown, act }) {
  const $ = (id) => document.getElementById(id);
  // Where a control's words go: beside a radio button, or the control itself.
  const words = (element) => element.querySelector(".words") ?? element;
  const image = (element) => (element.tagName === "IMG" ? element : element.querySelector("img"));
  // Run once the page has shown what it was told (a hidden tab paints no frames).
  function afterPaint(then) {
    let done = false;
    const once = () => { if (!done) { done = true; then(); } };
    requestAnimationFrame(once);
    setTimeout(once, 100);
  }

  return {
    $,
    title(text) {
      // Browsers fold a run of ordinary blanks in a title, not of no-break ones.
      document.title = text.replace(/ {2,}/g, (blanks) => "\u00a0".repeat(blanks.length));
    },
    place(control, left, top, width, height, fitsText) {
      const style = $(control).style;
      if (!$(control).classList.contains("window")) Object.assign(style, { left: left + "px", top: top + "px" });
      // A picture keeps its own size; a text as wide as it is.
      if (!fitsText && $(control).tagName !== "IMG")
        Object.assign(style, { width: width + "px", height: height + "px" });
    },
    face(control, pixels, colour) {
      $(control).style.fontSize = pixels + "px";
      if (colour) $(control).style.color = colour;
    },
    tooltip: (control, text) => { $(control).title = text; },
    accessibleName: (control, text) => $(control).setAttribute("aria-label", text),
    image(control, file, hover) {
      const element = $(control), picture = image(element);
      picture.src = picture.dataset.picture = file;
      if (!hover) return;
      element.addEventListener("mouseenter", () => { picture.src = hover; });
      element.addEventListener("mouseleave", () => { picture.src = file; });
      element.addEventListener("click", () => { picture.src = file; });
    },
    action(control, action) {
      // A radio button's own click, not its label's as well.
      const element = $(control).querySelector("input") ?? $(control);
      element.addEventListener("click", () => act(action));
    },
    showWindow(name, window) {
      // Told shown once each time it comes up (the splash stands from the page's load on).
      if ($(name).dataset.shown) return;
      for (const other of document.querySelectorAll("main > *")) {
        other.hidden = other.id !== name;
        delete other.dataset.shown;
      }
      $(name).dataset.shown = "shown";
      if (window >= 0) afterPaint(() => shown(window));
    },
    visible: (control, visible) => { $(control).style.visibility = visible ? "visible" : "hidden"; },
    text: (control, text) => { words($(control)).textContent = text; },
    colour: (control, colour) => { $(control).style.color = colour; },
    pointer(picture, x, y, shape) {
      $("hra").style.cursor = picture ? `url(${picture}) ${x} ${y}, ${shape}` : shape;
    },
    check(control, checked, enabled) {
      const input = $(control).querySelector("input");
      input.checked = checked;
      input.disabled = !enabled;
    },
    layout(width, height, scale) {
      Object.assign($("hra").style, { width: width + "px", height: height + "px",
                                      transform: scale < 1 ? `scale(${scale})` : "" });
    },
    movePlayed() {
      document.body.dataset.moves = Number(document.body.dataset.moves || 0) + 1;
    },
    warn: (text) => console.warn("morvel: " + text),
  };
}
