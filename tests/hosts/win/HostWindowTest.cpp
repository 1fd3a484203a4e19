// The test host on its own, against a child window of the test's making: mouse and key messages
// reach the window as the system would send them, the pixels read back are exactly what it
// painted (and survive a trip through a PNG file), and timer frames are counted per window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "hosts/win/HostWindow.h"
#include "hosts/win/Vst2EditorHost.h"
#include "hosts/win/WindowInput.h"
#include "hosts/win/WindowPicture.h"
#include "raster/Bitmap.h"
#include "raster/PngDecode.h"
#include "tests/hosts/win/EditorWindowRig.h"

namespace {

using namespace brel::win;

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A child that records its messages, paints a fixed pattern and sends keys on to its root
// window, as editors do with keys they do not take.
class RecordingChild {
public:
  static constexpr int kWidth = 120, kHeight = 90;

  RecordingChild(HWND parent, int x, int y) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BrelvaneRecordingChild";
    RegisterClassExA(&windowClass);
    window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_CHILD | WS_VISIBLE, x, y, kWidth, kHeight,
                             parent, nullptr, GetModuleHandleA(nullptr), this);
  }
  ~RecordingChild() { DestroyWindow(window); }

  static std::uint32_t Pattern(int x, int y) {
    return (static_cast<std::uint32_t>(x * 2) << 16) | (static_cast<std::uint32_t>(y * 2) << 8) |
           static_cast<std::uint32_t>((x ^ y) & 0xFF);
  }
  std::vector<UINT> Messages(UINT first, UINT last) const {
    std::vector<UINT> found;
    for (const Received& r : received)
      if (r.message >= first && r.message <= last) found.push_back(r.message);
    return found;
  }

  HWND window = nullptr;
  std::vector<Received> received;
  int paints = 0;

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<RecordingChild*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    self->received.push_back(Received{message, wParam, lParam});
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
      SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
      return 0;
    }
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    ++self->paints;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    std::vector<std::uint32_t> bits(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) bits[y * kWidth + x] = Pattern(x, y);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, bits.data(), &info, DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
  }
};

class TestHost : public ::testing::Test {
protected:
  HostWindow host{300, 200, 40, 30};
  RecordingChild child{host.Handle(), 10, 20};
};

TEST_F(TestHost, MouseAndKeyMessagesReachTheWindowAsTheSystemSendsThem) {
  ASSERT_TRUE(host.IsOpen());
  ASSERT_NE(child.window, nullptr);
  EXPECT_EQ(host.Children(), std::vector<HWND>{child.window});
  WindowInput input(child.window);

  input.Drag(50, 60, 0, -8, 2, MK_SHIFT);
  ASSERT_EQ(child.Messages(WM_MOUSEFIRST, WM_MOUSELAST),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP}));
  const auto mouse = [this](int i) {
    std::vector<Received> found;
    for (const Received& r : child.received)
      if (r.message >= WM_MOUSEFIRST && r.message <= WM_MOUSELAST) found.push_back(r);
    return found.at(i);
  };
  EXPECT_EQ(mouse(0).wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(mouse(0).lParam, MAKELPARAM(50, 60));
  EXPECT_EQ(mouse(2).wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(mouse(2).lParam, MAKELPARAM(50, 44));
  EXPECT_EQ(mouse(3).wParam, static_cast<WPARAM>(MK_SHIFT));
  EXPECT_EQ(mouse(3).lParam, MAKELPARAM(50, 44));

  // The wheel's position is on the screen: host at (40, 30), child at (10, 20) inside it.
  child.received.clear();
  input.Wheel(5, 6, -60);
  ASSERT_EQ(child.Messages(WM_MOUSEFIRST, WM_MOUSELAST), std::vector<UINT>{WM_MOUSEWHEEL});
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(mouse(0).wParam), -60);
  EXPECT_EQ(mouse(0).lParam, MAKELPARAM(55, 56));

  child.received.clear();
  input.DoubleClick(7, 8);
  EXPECT_EQ(child.Messages(WM_MOUSEFIRST, WM_MOUSELAST),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));

  input.Key(VK_F1);
  EXPECT_EQ(host.KeysDown(), std::vector<UINT>{VK_F1});
  EXPECT_EQ(host.KeysUp(), std::vector<UINT>{VK_F1});
}

TEST_F(TestHost, ThePixelsReadBackAreWhatTheWindowPaintedAfterARepaint) {
  const int paintsBefore = child.paints;
  WindowPicture picture;
  ASSERT_TRUE(CaptureWindow(child.window, picture));
  EXPECT_GT(child.paints, paintsBefore) << "the capture repaints the window first";
  ASSERT_EQ(picture.width, RecordingChild::kWidth);
  ASSERT_EQ(picture.height, RecordingChild::kHeight);
  int differing = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) differing += picture.At(x, y) != RecordingChild::Pattern(x, y);
  EXPECT_EQ(differing, 0);

  // The same pixels come back from the saved file.
  const std::string path = wintest::PicturePath("host_window_pattern.png");
  std::string error;
  ASSERT_TRUE(SavePng(picture, path, error)) << error;
  std::vector<unsigned char> bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
  }
  std::unique_ptr<LICE_MemBitmap> decoded(DecodePngImage(bytes.data(), static_cast<int>(bytes.size())));
  ASSERT_NE(decoded, nullptr);
  differing = 0;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      differing += RowPointer(*decoded, y)[x] != (0xFF000000u | RecordingChild::Pattern(x, y));
  EXPECT_EQ(differing, 0);

  EXPECT_FALSE(CaptureWindow(nullptr, picture));
  EXPECT_TRUE(picture.pixels.empty());
  EXPECT_FALSE(SavePng(picture, path, error));
}

TEST_F(TestHost, TimerFramesAreCountedForTheWindowTheyAreFor) {
  SetTimer(child.window, 7, 10, nullptr);
  EXPECT_TRUE(MessagePump::RunTimerTicks(child.window, 5, 100));
  KillTimer(child.window, 7);
  MessagePump::DispatchWaiting();
  EXPECT_FALSE(MessagePump::RunTimerTicks(child.window, 1, 3));
  EXPECT_FALSE(MessagePump::RunTimerTicks(host.Handle(), 1, 3));
  int checks = 0;
  EXPECT_TRUE(MessagePump::RunUntil([&checks] { return ++checks == 4; }, 10));
  EXPECT_EQ(checks, 4);
}

TEST(TestHostWindows, TheNewWindowIsTheOneThatAppearedAlone) {
  HWND a = reinterpret_cast<HWND>(1), b = reinterpret_cast<HWND>(2), c = reinterpret_cast<HWND>(3);
  EXPECT_EQ(NewWindow({a}, {a, b}), b);
  EXPECT_EQ(NewWindow({a}, {a}), nullptr);
  EXPECT_EQ(NewWindow({}, {b, c}), nullptr);
}

}  // namespace
