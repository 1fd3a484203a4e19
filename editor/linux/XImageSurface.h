#pragma once
// The picture of an editor window on its way to the X server: an image of the window's size in
// the window's visual, filled from rows of raster pixels (0xAARRGGBB) and put into a drawable.
// It lives in shared memory (MIT-SHM) where the server offers that and the segment can be
// attached, and in client memory otherwise; both give the same pixels on screen. TrueColor
// visuals only: the channels are placed by the visual's masks (the common 24-bit layout is a
// plain row copy).

#include <sys/ipc.h>
#include <sys/shm.h>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

class XImageSurface {
public:
  XImageSurface() = default;
  ~XImageSurface() { Release(); }
  XImageSurface(const XImageSurface&) = delete;
  XImageSurface& operator=(const XImageSurface&) = delete;

  // Makes the image; with `allowSharedMemory` false (or where the server cannot share memory
  // with this client) it is kept in client memory. False when no image can be made for the visual.
  bool Create(Display* display, Visual* visual, int depth, int width, int height, bool allowSharedMemory);
  // Detaches and frees everything; the display must still be open.
  void Release();

  // Converts the rectangle (clipped to the image) from `pixels` (`rowSpan` pixels per row, the
  // same coordinates as the image) and puts it into `drawable` at the same place.
  void Put(Drawable drawable, GC gc, const unsigned int* pixels, int rowSpan, int x, int y, int w, int h);

  bool SharedMemory() const { return mShared; }
  bool Valid() const { return mImage != nullptr; }

private:
  bool CreateShared(Visual* visual, int depth, int width, int height);
  bool CreatePlain(Visual* visual, int depth, int width, int height);
  void Convert(const unsigned int* pixels, int rowSpan, int x, int y, int w, int h);

  Display* mDisplay = nullptr;
  XImage* mImage = nullptr;
  XShmSegmentInfo mSegment = {};
  bool mShared = false;
  bool mPlainRows = false;  // the image's rows take raster pixels as they are
  int mRedShift = 0, mGreenShift = 0, mBlueShift = 0;
  unsigned long mRedMask = 0, mGreenMask = 0, mBlueMask = 0;
  unsigned long mAlphaBits = 0;  // bits of a 32-bit pixel no colour uses: kept opaque
};
