#pragma once
// The cases for a desktop at 192 DPI: win_editor_dpi_tests runs them in a Wine prefix of that
// DPI, the usual run (at 96) skips them. Their reference is the core's own drawing at scale 2,
// made in-process as the reference picture is at 1.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "editor/EditorSnapshot.h"
#include "editor/VuControl.h"
#include "tests/editor/PlugRig.h"

namespace wintest {

// In a fixture's SetUp: skips the case unless the desktop is at 192 DPI.
inline void RequireDesktopAt192Dpi() {
  if (!std::getenv("BREL_WINE_DPI")) GTEST_SKIP() << "for a desktop at 192 DPI";
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 192) << "the desktop's DPI in this run";
}

inline LICE_IBitmap& TwiceSizeReference() {
  static std::unique_ptr<Brelvane> reference;
  if (!reference) {
    reference = editortest::MakeBrelvane();
    reference->SetSampleRateFromHost(48000.0);
    reference->NotifyAllParamsChanged();
    editortest::ProcessSilence(*reference);
    reference->Graphics()->SetHostScale(2.0);
    DrawWholeEditor(*reference->Graphics(), VuControl::kLampFadeFrames);
  }
  return *reference->Graphics()->ScreenBitmap();
}

}  // namespace wintest
