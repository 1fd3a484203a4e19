#include "hosts/linux/HostWindow.h"

#include <X11/Xutil.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace brel::x11 {

namespace {

Bool IsMapNotifyOf(Display*, XEvent* event, XPointer window) {
  return event->type == MapNotify && event->xmap.window == *reinterpret_cast<Window*>(window);
}

std::vector<Window> ChildrenOf(Display* display, Window window) {
  std::vector<Window> children;
  Window root = 0, parent = 0;
  Window* list = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, window, &root, &parent, &list, &count) && list) {
    children.assign(list, list + count);
    XFree(list);
  }
  return children;
}

int CountBelow(Display* display, Window window) {
  int count = 0;
  for (Window child : ChildrenOf(display, window)) count += 1 + CountBelow(display, child);
  return count;
}

// The shift that brings a channel mask's lowest bit to bit 0, and its width in bits.
void MaskShape(unsigned long mask, int& shift, int& bits) {
  shift = 0;
  bits = 0;
  if (!mask) return;
  while (!(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
}

std::uint32_t Channel(unsigned long pixel, int shift, int bits) {
  if (bits <= 0) return 0;
  const unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
  return bits >= 8 ? static_cast<std::uint32_t>(value >> (bits - 8))
                   : static_cast<std::uint32_t>(value * 255 / ((1ul << bits) - 1));
}

// The error counter's state: Xlib calls the handler with no context of ours.
std::mutex gErrorMutex;
std::atomic<int> gErrorCount{0};
std::string gFirstError;

int CountError(Display*, XErrorEvent* error) {
  if (gErrorCount.fetch_add(1) == 0) {
    char text[96];
    std::snprintf(text, sizeof(text), "error %d, request %d.%d", error->error_code, error->request_code,
                  error->minor_code);
    std::lock_guard<std::mutex> lock(gErrorMutex);
    gFirstError = text;
  }
  return 0;
}

}  // namespace

HostWindow::HostWindow(int width, int height, int x, int y) {
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) {
    mProblem = "no connection to the X server";
    return;
  }
  const int screen = DefaultScreen(mDisplay);
  XSetWindowAttributes attributes = {};
  attributes.background_pixel = BlackPixel(mDisplay, screen);
  attributes.override_redirect = True;
  attributes.event_mask = StructureNotifyMask | ExposureMask | KeyPressMask | KeyReleaseMask;
  mWindow =
      XCreateWindow(mDisplay, RootWindow(mDisplay, screen), x, y, width, height, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
  if (!mWindow) {
    mProblem = "the server made no window";
    return;
  }
  XStoreName(mDisplay, mWindow, "Brelvane test host");
  XMapWindow(mDisplay, mWindow);
  // Without a window manager the map is immediate; wait for it so the plug-in's child is
  // viewable the moment it is mapped.
  XEvent event;
  XIfEvent(mDisplay, &event, IsMapNotifyOf, reinterpret_cast<XPointer>(&mWindow));
  XSync(mDisplay, False);
}

HostWindow::~HostWindow() {
  if (!mDisplay) return;
  if (mWindow) XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

bool HostWindow::Resize(int width, int height) {
  if (!mWindow) return false;
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(mDisplay, False);
  return true;
}

bool HostWindow::Size(int& width, int& height) const {
  XWindowAttributes attributes = {};
  if (!mWindow || !XGetWindowAttributes(mDisplay, mWindow, &attributes)) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
}

std::vector<Window> HostWindow::Children() const {
  if (!mWindow) return {};
  return ChildrenOf(mDisplay, mWindow);
}

std::vector<WindowId> HostWindow::ChildWindows() const {
  const std::vector<Window> children = Children();
  return std::vector<WindowId>(children.begin(), children.end());
}

void HostWindow::Sync() {
  if (mDisplay) XSync(mDisplay, False);
}

int ServerWindowCount(Display* display) { return CountBelow(display, DefaultRootWindow(display)); }

bool CaptureWindow(Display* display, Window window, WindowPicture& out) {
  out = WindowPicture{};
  XWindowAttributes attributes = {};
  // XGetImage of a window that is not viewable is a BadMatch error: check first, so a capture
  // never shows up in an error count.
  if (!window || !XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
    return false;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return false;
  int rs, rb, gs, gb, bs, bb;
  MaskShape(image->red_mask, rs, rb);
  MaskShape(image->green_mask, gs, gb);
  MaskShape(image->blue_mask, bs, bb);
  out.width = image->width;
  out.height = image->height;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      out.pixels[static_cast<std::size_t>(y) * out.width + x] = 0xFF000000u | (Channel(pixel, rs, rb) << 16) |
                                                                (Channel(pixel, gs, gb) << 8) |
                                                                Channel(pixel, bs, bb);
    }
  }
  XDestroyImage(image);
  return true;
}

XErrorCounter::XErrorCounter() {
  gErrorCount = 0;
  {
    std::lock_guard<std::mutex> lock(gErrorMutex);
    gFirstError.clear();
  }
  mPrevious = XSetErrorHandler(CountError);
}

XErrorCounter::~XErrorCounter() { XSetErrorHandler(mPrevious); }

int XErrorCounter::Count() const { return gErrorCount.load(); }

std::string XErrorCounter::First() const {
  std::lock_guard<std::mutex> lock(gErrorMutex);
  return gFirstError;
}

bool XErrorCounter::StillInstalled() const {
  // Xlib tells the current handler only by replacing it: put it straight back.
  const XErrorHandler current = XSetErrorHandler(CountError);
  if (current != CountError) XSetErrorHandler(current);
  return current == CountError;
}

}  // namespace brel::x11
