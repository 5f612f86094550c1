// Asks an X window to close the way a window manager's close button does: a
// WM_DELETE_WINDOW message, which the program handles as the user closing its window.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wm_close WINDOW_ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "wm_close: cannot open the display\n");
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &e);
  XFlush(display);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}
