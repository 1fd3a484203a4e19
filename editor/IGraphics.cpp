#include "editor/IGraphics.h"

#include <climits>
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
      gImageCache.entries.push_back({resourceId, loaded});
      bitmap = loaded;
    }
  }
  BitmapStrip strip;
  strip.bitmap = bitmap;
  strip.width = bitmap ? bitmap->Width() : 0;
  strip.height = bitmap ? bitmap->Height() : 0;
  strip.frames = frames < 1 ? 1 : frames;
  return strip;
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
    PopupMenu* chosen = RunPopupMenu(menu, rect);
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
  OpenTextEntry(control, control->Style(), rect, text, paramIndex);
}

// ---- Drawing.

void IGraphics::CreateDrawingSurfaces() {
  mDrawBitmap = std::make_unique<LICE_SysBitmap>(mWidth, mHeight);
  mScratchBitmap = std::make_unique<LICE_MemBitmap>(mWidth, mHeight);
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
  if (mPlug) mPlug->ResizeEditor(width, height);
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
  LiceRect source;
  source.left = sourceX + (visible.left - dest.left);
  source.top = sourceY + (visible.top - dest.top);
  source.right = source.left + visible.W();
  source.bottom = source.top + visible.H();
  BlitBitmap(mDrawBitmap.get(), strip.bitmap, visible.left, visible.top, &source, blend.weight,
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
  LICE_IFont* font = style.cachedFont ? style.cachedFont : FontCache::FontFor(style);
  if (!font || !mDrawBitmap) return false;
  font->SetTextColour(PackedColour(style.colour));
  LiceRect area{rect.left, rect.top, rect.right, rect.bottom};
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

bool IGraphics::RedrawRegion(const Rect& update) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::RedrawRegion");
  // Without controls nothing is drawn, but the region still goes to the window, or the window
  // would ask for it again and again.
  if (!mControls.empty()) {
    if (mStrictDrawing) {
      DrawStrict(update);
    } else {
      DrawNonStrict();
    }
  }
  return PaintScreen(update);
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
  dirtyOut = dirty;
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

void IGraphics::HandleMouseDown(int x, int y, const MouseModifiers& mods) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseDown");
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
    mPlug->OpenHostParamMenu(param, x, y);
    return;
  }
  if (mPlug && param >= 0) mPlug->BeginParamEdit(param);
  control->OnMouseDown(x, y, mods);
}

void IGraphics::HandleMouseUp(int x, int y, const MouseModifiers& mods) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseUp");
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, false);
  mCaptured = -1;
  mLastMouseX = mLastMouseY = -1;
  if (target < 0) return;
  IControl* control = mControls[target];
  control->OnMouseUp(x, y, mods);
  if (mPlug && control->ParamIndex() >= 0) mPlug->EndParamEdit(control->ParamIndex());
}

bool IGraphics::HandleMouseOver(int x, int y, const MouseModifiers& mods) {
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

void IGraphics::HandleMouseDrag(int x, int y, const MouseModifiers& mods) {
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

bool IGraphics::HandleMouseDoubleClick(int x, int y, const MouseModifiers& mods) {
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

void IGraphics::HandleMouseWheel(int x, int y, const MouseModifiers& mods, int notches) {
  BREL_EXPECT_EDITOR_THREAD(mThreadCheck, "IGraphics::HandleMouseWheel");
  if (mEntry.TakesWheel()) return;
  const int target = mCaptured >= 0 ? mCaptured : HitSearch(x, y, false);
  if (target < 0) return;
  mControls[target]->OnMouseWheel(x, y, mods, notches);
}

bool IGraphics::HandleKeyDown(int x, int y, EditorKey key) {
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
