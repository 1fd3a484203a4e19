#include "editor/linux/XImageSurface.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/linux/XErrorTrap.h"

namespace {

// The left shift that puts an 8-bit channel's top bit on the top bit of `mask` (negative: a
// right shift, for a channel narrower than 8 bits).
int ShiftFor(unsigned long mask) {
  if (!mask) return 0;
  int top = 63;
  while (!(mask & (1ul << top))) --top;
  return top - 7;
}

unsigned long Place(unsigned int channel, int shift, unsigned long mask) {
  const unsigned long value = shift >= 0 ? static_cast<unsigned long>(channel) << shift : channel >> -shift;
  return value & mask;
}

bool HostIsLittleEndian() {
  const unsigned int probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

}  // namespace

bool XImageSurface::Create(Display* display, Visual* visual, int depth, int width, int height,
                           bool allowSharedMemory) {
  Release();
  if (!display || !visual || width <= 0 || height <= 0) return false;
  if (visual->c_class != TrueColor && visual->c_class != DirectColor) return false;
  mDisplay = display;
  mRedMask = visual->red_mask;
  mGreenMask = visual->green_mask;
  mBlueMask = visual->blue_mask;
  mRedShift = ShiftFor(mRedMask);
  mGreenShift = ShiftFor(mGreenMask);
  mBlueShift = ShiftFor(mBlueMask);
  // The server shares our memory only when it reads it in our byte order (always so for a
  // local server); otherwise Xlib's own put swaps the bytes.
  const bool sameOrder = (ImageByteOrder(display) == LSBFirst) == HostIsLittleEndian();
  if (allowSharedMemory && sameOrder && XShmQueryExtension(display) &&
      CreateShared(visual, depth, width, height))
    return true;
  return CreatePlain(visual, depth, width, height);
}

bool XImageSurface::CreateShared(Visual* visual, int depth, int width, int height) {
  mSegment = {};
  mSegment.shmid = -1;
  XImage* image = XShmCreateImage(mDisplay, visual, depth, ZPixmap, nullptr, &mSegment, width, height);
  if (!image) return false;
  mSegment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
  if (mSegment.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  void* address = shmat(mSegment.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(mSegment.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    return false;
  }
  mSegment.shmaddr = image->data = static_cast<char*>(address);
  mSegment.readOnly = False;
  bool attached = false;
  {
    // A server that cannot reach our segment (another machine, another namespace) answers
    // the attach with an error.
    XErrorTrap trap(mDisplay);
    attached = XShmAttach(mDisplay, &mSegment) && !trap.Failed();
  }
  // Marked for removal at once: the segment goes when the last of us and the server detaches,
  // even if this process ends without closing the window.
  shmctl(mSegment.shmid, IPC_RMID, nullptr);
  if (!attached) {
    {
      XErrorTrap trap(mDisplay);
      XShmDetach(mDisplay, &mSegment);
    }
    XDestroyImage(image);
    shmdt(mSegment.shmaddr);
    mSegment = {};
    return false;
  }
  mImage = image;
  mShared = true;
  mPlainRows =
      image->bits_per_pixel == 32 && mRedMask == 0xFF0000 && mGreenMask == 0xFF00 && mBlueMask == 0xFF;
  mAlphaBits = image->bits_per_pixel == 32 ? ~(mRedMask | mGreenMask | mBlueMask) & 0xFFFFFFFFul : 0;
  return true;
}

bool XImageSurface::CreatePlain(Visual* visual, int depth, int width, int height) {
  XImage* image = XCreateImage(mDisplay, visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
  if (!image) return false;
  // Our rows are in our own byte order; Xlib swaps them for a server that wants the other.
  image->byte_order = HostIsLittleEndian() ? LSBFirst : MSBFirst;
  image->data = static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), height));
  if (!image->data) {
    XDestroyImage(image);
    return false;
  }
  mImage = image;
  mShared = false;
  mPlainRows =
      image->bits_per_pixel == 32 && mRedMask == 0xFF0000 && mGreenMask == 0xFF00 && mBlueMask == 0xFF;
  mAlphaBits = image->bits_per_pixel == 32 ? ~(mRedMask | mGreenMask | mBlueMask) & 0xFFFFFFFFul : 0;
  return true;
}

void XImageSurface::Release() {
  if (!mImage) return;
  if (mShared) {
    {
      XErrorTrap trap(mDisplay);
      XShmDetach(mDisplay, &mSegment);
    }
    XDestroyImage(mImage);  // a shared image's destructor leaves its data alone
    shmdt(mSegment.shmaddr);
    mSegment = {};
  } else {
    XDestroyImage(mImage);  // frees the rows too
  }
  mImage = nullptr;
  mShared = false;
}

void XImageSurface::Convert(const unsigned int* pixels, int rowSpan, int x, int y, int w, int h) {
  for (int row = y; row < y + h; ++row) {
    const unsigned int* from = pixels + static_cast<long>(row) * rowSpan + x;
    if (mPlainRows) {
      auto* to =
          reinterpret_cast<unsigned int*>(mImage->data + static_cast<long>(row) * mImage->bytes_per_line) + x;
      const unsigned int opaque = static_cast<unsigned int>(mAlphaBits);
      for (int i = 0; i < w; ++i) to[i] = from[i] | opaque;
      continue;
    }
    for (int i = 0; i < w; ++i) {
      const unsigned int p = from[i];
      const unsigned long value = Place((p >> 16) & 0xFF, mRedShift, mRedMask) |
                                  Place((p >> 8) & 0xFF, mGreenShift, mGreenMask) |
                                  Place(p & 0xFF, mBlueShift, mBlueMask) | mAlphaBits;
      XPutPixel(mImage, x + i, row, value);
    }
  }
}

void XImageSurface::Put(Drawable drawable, GC gc, const unsigned int* pixels, int rowSpan, int x, int y,
                        int w, int h) {
  if (!mImage || !pixels) return;
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min(x + w, mImage->width);
  const int bottom = std::min(y + h, mImage->height);
  if (right <= left || bottom <= top) return;
  Convert(pixels, rowSpan, left, top, right - left, bottom - top);
  if (mShared) {
    XShmPutImage(mDisplay, drawable, gc, mImage, left, top, left, top, right - left, bottom - top, False);
    // The server reads the segment after this returns; the next conversion must wait for it.
    XSync(mDisplay, False);
  } else {
    XPutImage(mDisplay, drawable, gc, mImage, left, top, left, top, right - left, bottom - top);
  }
}
