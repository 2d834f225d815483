// xclose WINDOW: asks an X window to close the way a window manager's close button does, by
// sending it the WM_DELETE_WINDOW message of the WM_PROTOCOLS protocol. The end-to-end tests
// use it to press the game window's close button under an X server with no window manager.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xclose WINDOW_ID\n");
    return 2;
  }
  char* end = nullptr;
  Window window = std::strtoul(argv[1], &end, 0);
  if (*end != '\0' || window == 0) {
    std::fprintf(stderr, "xclose: not a window id: %s\n", argv[1]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xclose: cannot open the X display\n");
    return 1;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}
