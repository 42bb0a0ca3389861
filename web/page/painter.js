// The board, the bar and the background: the module's shapes painted on the page's
// canvases, as the desktop paints them (hard-edged, in the module's units).

// The pictures the drawing needs, loaded before the start; where the screen has the pixels
// for them (as sharp as the layout leaves it), the ones drawn at twice the size.
export function pictures() {
  const loaded = {}, wanted = [];
  const load = (file, sharp) => new Promise((resolve, reject) => {
    const image = new Image();
    image.onload = () => resolve((loaded[file] = { image, scale: sharp ? 2 : 1 }));
    image.onerror = () => reject(new Error("obrázek " + file));
    image.src = sharp ? file.replace(/\.png$/, "@2x.png") : file;
  });
  return {
    preload: (file) => { wanted.push(file); },
    ready: (sharp) => Promise.all(wanted.map((file) => load(file, sharp))),
    get: (file) => loaded[file].image,
    // A picture's size in the page's pixels, whichever of its sizes was loaded.
    width: (file) => loaded[file].image.naturalWidth / loaded[file].scale,
    height: (file) => loaded[file].image.naturalHeight / loaded[file].scale,
  };
}

export function painter($, pictures) {
  let context = null;
  return {
    pictureWidth: pictures.width,
    pictureHeight: pictures.height,
    surface(control, width, height, units, devicePixels) {
      const canvas = $(control);
      canvas.style.width = width + "px";
      canvas.style.height = height + "px";
      canvas.width = Math.round(width * devicePixels);
      canvas.height = Math.round(height * devicePixels);
      context = canvas.getContext("2d");
      context.setTransform(devicePixels / units, 0, 0, devicePixels / units, 0, 0);
      context.imageSmoothingEnabled = true;
    },
    picture(file, x, y, width, height) {
      context.drawImage(pictures.get(file), x, y, width, height);
    },
    disc(x, y, radius, colour) {
      context.fillStyle = colour;
      context.beginPath();
      context.arc(x, y, radius, 0, 2 * Math.PI);
      context.fill();
    },
    box(x, y, width, height, colour) {
      context.fillStyle = colour;
      context.fillRect(x, y, width, height);
    },
  };
}
