// What only the Win32 window has: fonts by LOGFONT, labels placed for screen readers, and a new
// layout when the window moves to a screen of another DPI.

#include <gtest/gtest.h>
#include <windows.h>

#include "commands/file_rows.h"
#include "ui/win32/form1_window.h"

namespace zeduzovir {
namespace {

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

struct FontCase {
  ControlId control;
  const wchar_t* face;
  LONG heightAt96;
  LONG heightAt144;
  LONG weight;
};

TEST(Win32Form1, FontsFollowTheDpiAndLabelsComeJustBeforeTheirBoxes) {
  Form1Window window(GetModuleHandleW(nullptr));
  const FontCase fonts[] = {
      {ControlId::Label2, L"MS Sans Serif", -13, -20, FW_BOLD},  // 9.75 pt is 19.5 px at 144
      {ControlId::TesgardButton7, L"Times New Roman", -11, -17, FW_NORMAL},
      {ControlId::TesgardButton2, L"Times New Roman", -19, -29, FW_BOLD},
  };
  for (const int dpi : {window.dpi(), 144}) {
    if (dpi != window.dpi()) {
      RECT suggested{100, 100, 700, 600};
      SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
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
    }
    for (const FontCase& expected : fonts) {
      const LOGFONTW font = FontOf(window.control(expected.control));
      EXPECT_STREQ(font.lfFaceName, expected.face);
      EXPECT_EQ(font.lfHeight, dpi == 144 ? expected.heightAt144 : expected.heightAt96);
      EXPECT_EQ(font.lfWeight, expected.weight);
    }
  }
  for (const FileRow& row : FileRows()) {
    EXPECT_EQ(GetWindow(window.control(row.label), GW_HWNDNEXT), window.control(row.textBox));
  }
}

}  // namespace
}  // namespace zeduzovir
