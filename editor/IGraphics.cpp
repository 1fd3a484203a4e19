#include "editor/IGraphics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "core/IPlugBase.h"
#include "editor/EditorThread.h"
#include "raster/Font.h"
#include "raster/FontCache.h"
#include "raster/PngDecode.h"
#include "raster/Raster.h"
#include "raster/SysBitmap.h"
#include "resources/EmbeddedResource.h"

namespace {

// Decoded images, one per resource id, shared by every editor of the module. They outlive every
// editor and are freed when the module is unloaded, so a host that loads and unloads the module
// again and again keeps no copies behind.
struct CachedImage {
  int id;
  LICE_IBitmap* bitmap;
  std::string fileName;
};

struct ImageCache {
  std::vector<CachedImage> entries;
  ~ImageCache() {
    for (CachedImage& entry : entries) delete entry.bitmap;
  }
};

std::mutex gImageCacheLock;
ImageCache gImageCache;

bool FindCachedImage(int id, LICE_IBitmap*& bitmap) {
  std::lock_guard<std::mutex> hold(gImageCacheLock);
  for (const CachedImage& entry : gImageCache.entries) {
    if (entry.id == id) {
      bitmap = entry.bitmap;
      return true;
    }
  }
  return false;
}

int BlitModeFor(const BlendSpec& blend) {
  switch (blend.method) {
    case 1: return BlitCopy;
    case 2: return BlitAdd | BlitUseAlpha;
    case 3: return BlitDodge | BlitUseAlpha;
    default: return BlitCopy | BlitUseAlpha;
  }
}

// The strict pass's overlap: a control whose left or top edge lies on the update rect's right or
// bottom edge counts as touched.
bool Touches(const Rect& update, const Rect& r) {
  return update.right >= r.left && update.left < r.right && update.bottom >= r.top && update.top < r.bottom;
}

int TextFlags(const TextStyle& style) {
  int flags = 0x40000100;
  if (style.alignment == kAlignCentre) flags = 0x40000101;
  if (style.alignment == kAlignRight) flags = 0x40000102;
  if (style.colour.alpha == 255) flags &= ~0x40000000;
  return flags;
}

LicePixel PackedColour(const Color& c) {
  return static_cast<LicePixel>((static_cast<unsigned>(c.alpha & 255) << 24) | ((c.red & 255) << 16) |
                                ((c.green & 255) << 8) | (c.blue & 255));
}

}  // namespace

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int frameRate)
    : mPlug(plug),
      mWidth(width),
      mHeight(height),
      mFrameRate(frameRate),
      mMailbox(plug ? plug->NParams() : 0),
      mShown(plug ? plug->NParams() : 0, 0.0) {}

IGraphics::~IGraphics() {
  mKeyCatcher.reset();
  DeleteControls();
}

void IGraphics::DeleteControls() {
  for (auto it = mControls.rbegin(); it != mControls.rend(); ++it) delete *it;
  mControls.clear();
}

int IGraphics::CachedImageCount() {
  std::lock_guard<std::mutex> hold(gImageCacheLock);
  return static_cast<int>(gImageCache.entries.size());
}

BitmapStrip IGraphics::LoadBitmapStrip(int resourceId, const char* fileName, int frames) {
  LICE_IBitmap* bitmap = CachedImageFor(resourceId, fileName);
  mHiResLoaded = false;  // a new image's twin is found at the next drawing pass
  BitmapStrip strip;
  strip.bitmap = bitmap;
  strip.resourceId = resourceId;
  strip.width = bitmap ? bitmap->Width() : 0;
  strip.height = bitmap ? bitmap->Height() : 0;
  strip.frames = frames < 1 ? 1 : frames;
  return strip;
}

LICE_IBitmap* IGraphics::CachedImageFor(int resourceId, const char* fileName) {
  LICE_IBitmap* bitmap = nullptr;
  if (!FindCachedImage(resourceId, bitmap)) {
    // Decoding runs outside the lock; two editors loading the same image at once would both
    // decode it, and the first to append wins.
    LICE_IBitmap* loaded = LoadImageResource(resourceId, fileName);
    std::lock_guard<std::mutex> hold(gImageCacheLock);
    bool found = false;
    for (const CachedImage& entry : gImageCache.entries) {
      if (entry.id == resourceId) {
        bitmap = entry.bitmap;
        found = true;
        break;
      }
    }
    if (found) {
      delete loaded;
    } else {
      gImageCache.entries.push_back({resourceId, loaded, fileName ? fileName : ""});
      bitmap = loaded;
    }
  }
  return bitmap;
}

namespace {

// Every pixel as a 2x2 block: what an editor draws with when an image's twin is missing or has
// the wrong size, so the editor still shows every control in its place.
std::unique_ptr<LICE_MemBitmap> Doubled(LICE_IBitmap& image) {
  auto doubled = std::make_unique<LICE_MemBitmap>(image.Width() * 2, image.Height() * 2);
  if (!doubled->Pixels() || !image.Pixels()) return nullptr;
  for (int y = 0; y < image.Height(); ++y) {
    const LicePixel* from = RowPointer(image, y);
    LicePixel* upper = RowPointer(*doubled, 2 * y);
    LicePixel* lower = RowPointer(*doubled, 2 * y + 1);
    for (int x = 0; x < image.Width(); ++x)
      upper[2 * x] = upper[2 * x + 1] = lower[2 * x] = lower[2 * x + 1] = from[x];
  }
  return doubled;
}

}  // namespace

void IGraphics::LoadHiResImages() {
  std::vector<CachedImage> images;
  {
    std::lock_guard<std::mutex> hold(gImageCacheLock);
    for (const CachedImage& entry : gImageCache.entries)
      if (entry.id < kHiResImageIdOffset && entry.bitmap) images.push_back(entry);
  }
  for (const CachedImage& image : images) {
    if (HiResOf(image.bitmap)) continue;
    LICE_IBitmap* twin = CachedImageFor(image.id + kHiResImageIdOffset, image.fileName.c_str());
    if (!twin || twin->Width() != 2 * image.bitmap->Width() || twin->Height() != 2 * image.bitmap->Height()) {
      std::unique_ptr<LICE_MemBitmap> doubled = Doubled(*image.bitmap);
      if (!doubled) continue;
      twin = doubled.get();
      mDoubledImages.push_back(std::move(doubled));
    }
    mHiRes.emplace_back(image.bitmap, twin);
  }
}

LICE_IBitmap* IGraphics::HiResOf(const LICE_IBitmap* bitmap) const {
  for (const auto& pair : mHiRes)
    if (pair.first == bitmap) return pair.second;
  return nullptr;
}

IControl* IGraphics::AddControl(IControl* control) {
  if (!control) return nullptr;
  control->SetGraphics(this);
  mControls.push_back(control);
  return control;
}

IControl* IGraphics::AddBackground(IControl* control) {
  if (!control) return nullptr;
  control->SetGraphics(this);
  mControls.insert(mControls.begin(), control);
  return control;
}

IControl* IGraphics::GetControl(int index) const {
  return index >= 0 && index < NControls() ? mControls[index] : nullptr;
}

void IGraphics::SetKeyCatcher(IControl* control) {
  if (control) control->SetGraphics(this);
  mKeyCatcher.reset(control);
}

LICE_IBitmap* IGraphics::DrawBitmap() const { return mDrawBitmap.get(); }

// ---- Parameter exchange.

void IGraphics::ApplyToBoundControls(int paramIndex, double normalized) {
  if (paramIndex >= 0 && paramIndex < static_cast<int>(mShown.size())) mShown[paramIndex] = normalized;
  for (IControl* control : mControls) {
    if (control->ParamIndex() == paramIndex) control->ApplyPlugValue(normalized);
    for (int i = 0; i < control->AuxParamCount(); ++i) {
      if (control->GetAuxParam(i).paramIndex == paramIndex) {
        control->SetAuxValueFromPlug(i, normalized);
        break;
      }
    }
  }
}

void IGraphics::ApplyPlugValueToControls(int paramIndex, double normalized) {
  ApplyToBoundControls(paramIndex, normalized);
}

void IGraphics::ApplyParameterFromPlug(int paramIndex, double value, bool isNormalized) {
  // Any thread, under the plug-in lock: only the mailbox is touched. Parameter metadata is
  // read-only after construction.
  if (!isNormalized) {
    const IParamDef* param = mPlug ? mPlug->GetParam(paramIndex) : nullptr;
    if (!param) return;
    value = param->ToNormalized(value);
  }
  mMailbox.Post(paramIndex, value);
}

void IGraphics::SetParamFromEditor(int paramIndex, double normalized) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::SetParamFromEditor");
  if (paramIndex >= 0 && paramIndex < static_cast<int>(mShown.size())) mShown[paramIndex] = normalized;
  // A host value still waiting in the mailbox is older than this edit: showing it on the next tick
  // would move the knob back while the parameter keeps the user's value.
  mMailbox.Discard(paramIndex);
  if (mPlug) mPlug->SetParamFromEditor(paramIndex, normalized);
}

void IGraphics::BeginTextEntry(EntryBoxWindow& box, IControl& control, int paramIndex) {
  mEntry.Open(box, control, mPlug ? mPlug->GetParam(paramIndex) : nullptr);
}

double IGraphics::ShownParamValue(int paramIndex) const {
  return paramIndex >= 0 && paramIndex < static_cast<int>(mShown.size()) ? mShown[paramIndex] : 0.0;
}

void IGraphics::AskValueFromUser(IControl* control, int paramIndex, const Rect& rect) {
  const IParamDef* param = mPlug ? mPlug->GetParam(paramIndex) : nullptr;
  if (!control || !param) return;
  const ParamType type = param->GetType();
  const int count = param->GetDisplayTextCount();
  if (type == ParamType::Enum || (type == ParamType::Bool && count > 0)) {
    char current[32] = {};
    param->FormatValue(ShownParamValue(paramIndex), true, current, sizeof(current));
    PopupMenu menu;
    for (int k = 0; k < count; ++k) {
      auto item = std::make_unique<PopupMenuItem>();
      for (int t = 0; t < count; ++t) {
        const DisplayText* entry = param->GetDisplayText(t);
        if (entry && entry->value == k) {
          item->text = entry->text;
          break;
        }
      }
      if (item->text == current) item->flags |= PopupMenuItem::kChecked;
      menu.items.push_back(std::move(item));
    }
    PopupMenu* chosen = RunPopupMenu(menu, ToWindow(rect));
    if (chosen && chosen->chosenIndex >= 0) control->ApplyUserValue(param->ToNormalized(chosen->chosenIndex));
    return;
  }
  double value = param->FromNormalized(ShownParamValue(paramIndex));
  if (param->GetNegateDisplay()) value = -value;
  char text[64];
  if (param->GetDisplayPrecision() != 0) {
    std::snprintf(text, sizeof(text), "%.*f", param->GetDisplayPrecision(), value);
  } else {
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
  }
  if (mScale == 1.0) {
    OpenTextEntry(control, control->Style(), rect, text, paramIndex);
    return;
  }
  // The native box sits in window pixels, its text at the size it has on screen.
  TextStyle boxStyle = control->Style();
  boxStyle.size = static_cast<int>(std::lround(boxStyle.size * mScale));
  boxStyle.cachedFont = nullptr;
  OpenTextEntry(control, boxStyle, ToWindow(rect), text, paramIndex);
}

// ---- Drawing.

void IGraphics::CreateDrawingSurfaces() {
  mDrawBitmap = std::make_unique<LICE_SysBitmap>(mWidth * mArtScale, mHeight * mArtScale);
  mScratchBitmap = std::make_unique<LICE_MemBitmap>(mWidth * mArtScale, mHeight * mArtScale);
  mScreenBitmap.reset();
  if (mScale == mArtScale) return;
  int width = 0;
  int height = 0;
  ScaledSize(width, height);
  mScreenBitmap = std::make_unique<LICE_SysBitmap>(width, height);
  mResampler.Prepare(mDrawBitmap->Width(), mDrawBitmap->Height(), width, height);
}

LICE_IBitmap* IGraphics::ScreenBitmap() const {
  return mScreenBitmap ? static_cast<LICE_IBitmap*>(mScreenBitmap.get()) : mDrawBitmap.get();
}

// ---- Scale.

void IGraphics::ScaledSize(int& width, int& height) const {
  width = static_cast<int>(std::lround(mWidth * mScale));
  height = static_cast<int>(std::lround(mHeight * mScale));
}

void IGraphics::WindowSize(int& width, int& height) {
  if (!mHostScaled && !IsWindowOpen()) FollowPlatformScale();
  ScaledSize(width, height);
}

bool IGraphics::SetHostScale(double factor) {
  mHostScaled = true;
  ApplyScale(factor);
  return true;
}

void IGraphics::FollowPlatformScale() {
  if (!mHostScaled) ApplyScale(PlatformScale());
}

bool IGraphics::ApplyScale(double factor) {
  // Hosts have sent 0, negative and non-finite factors; the editor never shrinks below its size.
  if (!std::isfinite(factor)) factor = 1.0;
  factor = std::clamp(factor, 1.0, 3.0);
  if (factor == mScale) return false;
  mScale = factor;
  mArtScale = factor > 1.0 ? 2 : 1;
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
  if (mDrawBitmap) CreateDrawingSurfaces();
  MarkAllDirty();
  if (IsWindowOpen()) {
    OnScaleChanged();
    int width = 0;
    int height = 0;
    ScaledSize(width, height);
    if (mPlug) mPlug->ResizeEditor(width, height);
  }
  return true;
}

int IGraphics::ToEditor(int windowPixel) const { return static_cast<int>(std::floor(windowPixel / mScale)); }

Rect IGraphics::ToEditor(const Rect& windowRect) const {
  if (windowRect.Empty() || mScale == 1.0) return windowRect;
  return Rect{ToEditor(windowRect.left), ToEditor(windowRect.top),
              static_cast<int>(std::ceil(windowRect.right / mScale)),
              static_cast<int>(std::ceil(windowRect.bottom / mScale))};
}

Rect IGraphics::ToWindow(const Rect& editorRect) const {
  if (editorRect.Empty() || mScale == 1.0) return editorRect;
  return Rect{static_cast<int>(std::floor(editorRect.left * mScale)),
              static_cast<int>(std::floor(editorRect.top * mScale)),
              static_cast<int>(std::ceil(editorRect.right * mScale)),
              static_cast<int>(std::ceil(editorRect.bottom * mScale))};
}

void IGraphics::Resize(int width, int height) {
  mWidth = width;
  mHeight = height;
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
  DeleteControls();
  mDrawBitmap.reset();
  mScratchBitmap.reset();
  CreateDrawingSurfaces();
  int windowWidth = 0;
  int windowHeight = 0;
  ScaledSize(windowWidth, windowHeight);
  if (mPlug) mPlug->ResizeEditor(windowWidth, windowHeight);
}

bool IGraphics::RebuildAtSize(int width, int height) {
  if (width == mWidth && height == mHeight) return false;
  mEntry.Close();
  IGraphics::Resize(width, height);
  return true;
}

bool IGraphics::ResizesHostWindow() const { return !(mPlug && mPlug->GetApiId() == ApiId::Vst3); }

LICE_IBitmap* IGraphics::LoadImageResource(int resourceId, const char* fileName) {
  // Windows names resources by 16-bit integers: a larger id would find another image.
  if (!HasPngExtension(fileName) || resourceId < 1 || resourceId > 0xFFFF) return nullptr;
  const EmbeddedResource* resource = FindEmbeddedResource(resourceId);
  // Fewer bytes than a PNG signature are no image.
  if (!resource || resource->size <= 7 || resource->size > INT_MAX) return nullptr;
  return DecodePngImage(resource->data, static_cast<int>(resource->size));
}

bool IGraphics::DrawBitmapRegion(const BitmapStrip& strip, const Rect& dest, int sourceX, int sourceY,
                                 const BlendSpec& blend) {
  if (!strip.bitmap || !mDrawBitmap) return true;
  const Rect visible = dest.Intersect(mDrawRect);
  if (visible.right <= visible.left || visible.bottom <= visible.top) return true;
  // At the second art scale the same region comes from the image's twin, every edge doubled.
  LICE_IBitmap* image = mArtScale == 1 ? strip.bitmap : HiResOf(strip.bitmap);
  if (!image) return true;
  const int k = mArtScale;
  LiceRect source;
  source.left = k * (sourceX + (visible.left - dest.left));
  source.top = k * (sourceY + (visible.top - dest.top));
  source.right = source.left + k * visible.W();
  source.bottom = source.top + k * visible.H();
  BlitBitmap(mDrawBitmap.get(), image, k * visible.left, k * visible.top, &source, blend.weight,
             BlitModeFor(blend));
  return true;
}

bool IGraphics::DrawBitmapFrame(const BitmapStrip& strip, const Rect& dest, int frame,
                                const BlendSpec& blend) {
  int x = 0;
  int y = 0;
  if (strip.frames >= 2 && frame >= 2) {
    const double along = strip.framesAreHorizontal ? strip.width : strip.height;
    const int offset = static_cast<int>(along * (frame - 1) / strip.frames + 0.5);
    (strip.framesAreHorizontal ? x : y) = offset;
  }
  return DrawBitmapRegion(strip, dest, x, y, blend);
}

bool IGraphics::DrawText(TextStyle& style, const char* text, const Rect& rect) {
  if (!text || !text[0]) return true;
  // Text is drawn at the backing bitmap's resolution, with a font of that size, not stretched.
  LICE_IFont* font = nullptr;
  if (mArtScale == 1) {
    font = style.cachedFont ? style.cachedFont : FontCache::FontFor(style);
  } else {
    TextStyle scaled = style;
    scaled.size = style.size * mArtScale;
    scaled.cachedFont = nullptr;
    font = FontCache::FontFor(scaled);
  }
  if (!font || !mDrawBitmap) return false;
  font->SetTextColour(PackedColour(style.colour));
  const int k = mArtScale;
  LiceRect area{k * rect.left, k * rect.top, k * rect.right, k * rect.bottom};
  font->DrawString(mDrawBitmap.get(), text, -1, &area, TextFlags(style));
  return true;
}

bool IGraphics::MeasureText(TextStyle& style, const char* text, Rect& rect) {
  if (!text || !text[0]) return true;
  LICE_IFont* font = style.cachedFont ? style.cachedFont : FontCache::FontFor(style);
  if (!font) return false;
  LiceRect measured{};
  font->DrawString(mDrawBitmap.get(), text, -1, &measured, TextFlags(style) | kTextMeasure);
  const int w = measured.right - measured.left;
  const int h = measured.bottom - measured.top;
  if (style.alignment == kAlignLeft) {
    rect.right = rect.left + w;
  } else if (style.alignment == kAlignCentre) {
    rect.left = -(w / 2) - static_cast<int>((rect.left + rect.right) * -0.5);
    rect.right = rect.left + w;
  } else {
    rect.left = rect.right - w;
  }
  rect.bottom = rect.top + h;
  return true;
}

void IGraphics::DrawStrict(const Rect& update) {
  mDrawRect = update;
  for (IControl* control : mControls) {
    const Rect& r = control->GetRect();
    if (!control->IsHidden() && !update.Empty() && !r.Empty() && Touches(update, r)) control->Draw(*this);
    control->MarkClean();
  }
}

void IGraphics::DrawNonStrict() {
  IControl* background = mControls.front();
  if (background->IsDirty()) {
    mDrawRect = background->GetRect();
    for (int j = 0; j < NControls(); ++j) {
      IControl* control = mControls[j];
      if (j == 0 || !control->IsHidden()) control->Draw(*this);
      control->MarkClean();
    }
    return;
  }
  for (int i = 1; i < NControls(); ++i) {
    IControl* dirty = mControls[i];
    if (!dirty->IsDirty()) continue;
    mDrawRect = dirty->GetRect();
    for (int j = 0; j < NControls(); ++j) {
      IControl* control = mControls[j];
      if (control->IsHidden()) continue;
      const Rect& r = control->GetRect();
      if (j == i || (!r.Empty() && Touches(mDrawRect, r))) control->Draw(*this);
    }
    dirty->MarkClean();
  }
}

bool IGraphics::RedrawRegion(const Rect& windowUpdate) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::RedrawRegion");
  const Rect update = ToEditor(windowUpdate);
  // The twice-size images are decoded when they are first drawn, not when a host merely asks for
  // the window's size, so scans and renders never pay for them.
  if (mArtScale == 2 && !mHiResLoaded) {
    LoadHiResImages();
    mHiResLoaded = true;
  }
  // Without controls nothing is drawn, but the region still goes to the window, or the window
  // would ask for it again and again.
  if (!mControls.empty()) {
    if (mStrictDrawing) {
      DrawStrict(update);
    } else {
      DrawNonStrict();
    }
  }
  if (mScreenBitmap && mDrawBitmap) {
    // The non-strict pass may have drawn outside the update: resample all it can have touched.
    const Rect drawn = ToWindow(mStrictDrawing ? update : Rect{0, 0, mWidth, mHeight});
    const LiceRect area{drawn.left, drawn.top, drawn.right, drawn.bottom};
    mResampler.Run(*mDrawBitmap, *mScreenBitmap, area);
  }
  return PaintScreen(windowUpdate);
}

bool IGraphics::TimerStep(Rect& dirtyOut) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::TimerStep");
  dirtyOut = Rect{};
  if (mEntry.FrameStep()) return false;
  mMailbox.TakePosted([this](int index, double value) { ApplyToBoundControls(index, value); });
  Rect dirty;
  bool any = false;
  for (IControl* control : mControls) {
    if (!control->IsDirty()) continue;
    any = true;
    dirty = dirty.Union(control->GetRect());
  }
  dirtyOut = ToWindow(dirty);
  if (any) mEntry.FrameDrawn();
  return any;
}

void IGraphics::MarkAllDirty() {
  for (IControl* control : mControls) control->MarkDirty(false);
}

// ---- Mouse and keys.

int IGraphics::HitSearch(int x, int y, bool forMouseOver) const {
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl* control = mControls[i];
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(forMouseOver && control->MouseOverWhenGrayed())) continue;
    if (control->HitTest(x, y)) return i;
  }
  return -1;
}

void IGraphics::HandleMouseDown(int windowX, int windowY, const MouseModifiers& mods) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseDown");
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
  const int hit = HitSearch(x, y, false);
  if (hit < 0) return;
  IControl* control = mControls[hit];
  mCaptured = hit;
  mLastMouseX = x;
  mLastMouseY = y;
  const int param = control->ParamIndex();
  if (mPlug && mPlug->GetApiId() == ApiId::Vst3 && mods.right && param >= 0) {
    mCaptured = -1;
    mLastMouseX = mLastMouseY = -1;
    // The host places its menu in its own (window) pixels.
    mPlug->OpenHostParamMenu(param, windowX, windowY);
    return;
  }
  if (mPlug && param >= 0) mPlug->BeginParamEdit(param);
  control->OnMouseDown(x, y, mods);
}

void IGraphics::HandleMouseUp(int windowX, int windowY, const MouseModifiers& mods) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseUp");
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, false);
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
  if (target < 0) return;
  IControl* control = mControls[target];
  control->OnMouseUp(x, y, mods);
  if (mPlug && control->ParamIndex() >= 0) mPlug->EndParamEdit(control->ParamIndex());
}

bool IGraphics::HandleMouseOver(int windowX, int windowY, const MouseModifiers& mods) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  if (!mHandleMouseOver) return false;
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, true);
  if (target < 0) return mHandleMouseOver;
  mLastMouseX = x;
  mLastMouseY = y;
  mControls[target]->OnMouseOver(x, y, mods);
  if (mMouseOver >= 0 && mMouseOver != target && mMouseOver < NControls())
    mControls[mMouseOver]->OnMouseOut();
  mMouseOver = target;
  return mHandleMouseOver;
}

void IGraphics::HandleMouseDrag(int windowX, int windowY, const MouseModifiers& mods) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseDrag");
  if (mEntry.IsOpen()) return;
  if (mCaptured < 0 || mCaptured >= NControls()) return;
  if (x == mLastMouseX && y == mLastMouseY) return;
  mControls[mCaptured]->OnMouseDrag(x, y, x - mLastMouseX, y - mLastMouseY, mods);
  mLastMouseX = x;
  mLastMouseY = y;
}

void IGraphics::ReleaseMouseCapture() {
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
}

bool IGraphics::HandleMouseDoubleClick(int windowX, int windowY, const MouseModifiers& mods) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseDoubleClick");
  ReleaseMouseCapture();
  const int hit = HitSearch(x, y, false);
  if (hit < 0) return false;
  IControl* control = mControls[hit];
  if (!control->DoubleClickAsClick()) {
    control->OnMouseDoubleClick(x, y, mods);
    return false;
  }
  mCaptured = hit;
  mLastMouseX = x;
  mLastMouseY = y;
  control->OnMouseDown(x, y, mods);
  return true;
}

void IGraphics::HandleMouseOut() {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseOut");
  for (IControl* control : mControls) control->OnMouseOut();
  mMouseOver = -1;
}

void IGraphics::HandleMouseWheel(int windowX, int windowY, const MouseModifiers& mods, int notches) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseWheel");
  if (mEntry.TakesWheel()) return;
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, false);
  if (target < 0) return;
  mControls[target]->OnMouseWheel(x, y, mods, notches);
}

bool IGraphics::HandleKeyDown(int windowX, int windowY, EditorKey key) {
  const int x = ToEditor(windowX);
  const int y = ToEditor(windowY);
  if (key == EditorKey::NoKey) return false;
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleKeyDown");
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, false);
  // The background takes no keys: they go to the key catcher.
  IControl* control = target > 0 ? mControls[target] : mKeyCatcher.get();
  return control && control->OnKeyDown(x, y, static_cast<int>(key));
}

void FailEditorThreadContract(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: %s called off the editor's thread\n", file, line, what);
  std::abort();
}
