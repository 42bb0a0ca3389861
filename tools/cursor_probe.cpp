// Prints the X pointer's current image as "width height xhot yhot", so the end-to-end test
// can tell the hand (hot spot 7,7) from the hourglass (hot spot 0,0) and the arrow.

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cursor_probe: cannot open the display\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) {
        std::fprintf(stderr, "cursor_probe: no cursor image\n");
        return 1;
    }
    std::printf("%d %d %d %d\n", image->width, image->height, image->xhot, image->yhot);
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
