// Does to a window what a window manager does: asks it to close (WM_DELETE_WINDOW), or pings
// it (_NET_WM_PING) until its program has gone through a number of frames. Xvfb runs no
// window manager, and a still picture cannot show that frames went by.
//   xwin close WINDOW
//   xwin frames WINDOW N [SECONDS]   exits 1 if the answers stop before then (default 30 s)
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

XEvent protocolMessage(Display* display, Window window, const char* protocol, long tag) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, protocol, False));
  e.xclient.data.l[1] = tag;  // the time field; a ping's answer carries it back
  e.xclient.data.l[2] = static_cast<long>(window);
  return e;
}

// Waits for the answer to ping `tag`, which the program sends to the root window.
bool answered(Display* display, long tag, Clock::time_point until) {
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  for (;;) {
    while (XPending(display)) {
      XEvent e;
      XNextEvent(display, &e);
      if (e.type == ClientMessage && e.xclient.data.l[0] == static_cast<long>(ping) &&
          e.xclient.data.l[1] == tag)
        return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    ::poll(&fd, 1, static_cast<int>(left.count()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
  const bool frames = (argc == 4 || argc == 5) && std::strcmp(argv[1], "frames") == 0;
  if (!close && !frames) {
    std::fprintf(stderr, "usage: xwin close WINDOW | xwin frames WINDOW N [SECONDS]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xwin: cannot open the display\n");
    return 1;
  }
  const Window window = std::strtoul(argv[2], nullptr, 0);
  int status = 0;
  if (close) {
    XEvent e = protocolMessage(display, window, "WM_DELETE_WINDOW", CurrentTime);
    status = XSendEvent(display, window, False, NoEventMask, &e) ? 0 : 1;
  } else {
    // A program answers pings only while it waits for events, which a frame loop does once
    // a frame. Answers at least 150 ms apart fall at most two into one 100 ms frame wait,
    // so 2N + 1 of them span N frame ends.
    const int n = std::atoi(argv[3]);
    const auto until = Clock::now() + std::chrono::seconds(argc == 5 ? std::atoi(argv[4]) : 30);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    for (long tag = 1; tag <= 2 * n + 1 && status == 0; ++tag) {
      XEvent e = protocolMessage(display, window, "_NET_WM_PING", tag);
      XSendEvent(display, window, False, NoEventMask, &e);
      XFlush(display);
      if (!answered(display, tag, until)) {
        std::fprintf(stderr, "xwin: window %s stopped answering\n", argv[2]);
        status = 1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
  }
  XFlush(display);
  XCloseDisplay(display);
  return status;
}
