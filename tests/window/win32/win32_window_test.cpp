// What only the Win32 window has: a new layout and new fonts when it moves to a screen of
// another DPI.

#include <gtest/gtest.h>
#include <windows.h>

#include "ui/win32/form1_window.h"

namespace zeduzovir {
namespace {

TEST(Win32Form1, MovedToAScreenOf144DpiItLaysItselfOutAgain) {
  Form1Window window(GetModuleHandleW(nullptr));
  RECT suggested{100, 100, 700, 600};
  SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  RECT client{}, frame{}, restore{};
  GetClientRect(window.hwnd(), &client);
  GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(client.right, 557);  // 5565 twips, 556.5 rounded up
  EXPECT_EQ(client.bottom, 429);
  EXPECT_EQ(frame.left, 100);
  GetWindowRect(window.control(ControlId::TesgardButton2), &restore);
  MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&restore), 2);
  EXPECT_EQ(restore.left, 69);
  EXPECT_EQ(restore.bottom - restore.top, 47);  // 46.5
  // 9.75, 8.25 and 14.25 points at 144 DPI.
  for (const auto& [control, height] : {std::pair{ControlId::Label2, -20},
                                        {ControlId::TesgardButton7, -17},
                                        {ControlId::TesgardButton2, -29}}) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.control(control), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, height) << IndexOf(control);
  }
}

}  // namespace
}  // namespace zeduzovir
