#include "ui/win32/form1_window.h"

#include <dlgs.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "commands/file_rows.h"
#include "dialog_watcher.h"
#include "support/expected_form1_pixels.h"
#include "ui/form1_layout.h"
#include "ui/win32/win32_control_ids.h"

namespace zeduzovir {
namespace {

using testing::DialogWatcher;

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::wstring Wide(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

struct MessageBoxSeen {
  std::wstring title;
  std::wstring text;
  bool icon = false;
  int buttons = 0;
};

// Reads a message box as a person would see it, then presses its OK button.
MessageBoxSeen ReadAndDismiss(HWND box) {
  MessageBoxSeen seen{WindowText(box), {}, false, 0};
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) {
      continue;
    }
    const std::wstring kind = ClassName(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      ++seen.buttons;
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
      seen.icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && !WindowText(child).empty()) {
      seen.text = WindowText(child);
    }
  }
  SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  return seen;
}

// The open-file dialog's file name field: a combo box on newer dialogs, an edit on older.
HWND FileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

void ChooseInDialog(HWND dialog, const std::wstring& path) {
  SetWindowTextW(FileNameField(dialog), path.c_str());
  SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

void CancelDialog(HWND dialog) {
  SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

// Runs the message loop as the program does, dialog navigation included, until `done`.
template <typename Done>
bool PumpUntil(HWND form, Done done) {
  const ULONGLONG deadline = GetTickCount64() + 10000;
  MSG message;
  while (!done() && GetTickCount64() < deadline) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(form, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    Sleep(5);
  }
  return done();
}

class Form1WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window = std::make_unique<Form1Window>(GetModuleHandleW(nullptr));
    ASSERT_NE(form(), nullptr);
    ShowWindow(form(), SW_SHOW);
    UpdateWindow(form());
    SetForegroundWindow(form());
    PumpUntil(form(), [] { return true; });
  }

  void TearDown() override {
    m_window.reset();
    // Every dialog belongs to the window: nothing of this thread may stay on screen.
    int left = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM count) {
          *reinterpret_cast<int*>(count) += IsWindowVisible(window) ? 1 : 0;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&left));
    EXPECT_EQ(left, 0);
  }

  HWND form() const { return m_window->hwnd(); }

  // Controls are found by their names, through the identifiers the window gives them.
  HWND control(std::string_view name) const {
    for (const ControlSpec& entry : Form1Controls()) {
      if (entry.name == name) {
        return GetDlgItem(form(), Win32ControlId(entry.id));
      }
    }
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }

  std::string nameOf(HWND window) const {
    const int id = GetDlgCtrlID(window);
    return IsWin32ControlId(id) ? std::string(Form1Control(ControlIdFromWin32(id)).name)
                                : "(not a control)";
  }

  std::wstring text(std::string_view box) const { return WindowText(control(box)); }
  void setText(std::string_view box, const std::wstring& value) const {
    SetWindowTextW(control(box), value.c_str());
  }

  MessageBoxSeen pressAndReadMessage(std::string_view button) const {
    MessageBoxSeen seen{L"(no message box)", {}, false, 0};
    DialogWatcher watcher([&seen](HWND box) { seen = ReadAndDismiss(box); });
    SendMessageW(control(button), BM_CLICK, 0, 0);
    return seen;
  }

  // A real file in the temporary folder for the dialog to choose.
  static std::wstring CreateScratchFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    std::ofstream(path.c_str()).put('\n');
    return path;
  }

  std::unique_ptr<Form1Window> m_window;
};

TEST_F(Form1WindowTest, WindowHasCaptionIconAndFixedClientSize) {
  EXPECT_EQ(WindowText(form()), L"Zeduzovir");
  RECT client{};
  GetClientRect(form(), &client);
  EXPECT_EQ(client.right, testing::kExpectedClientWidth);
  EXPECT_EQ(client.bottom, testing::kExpectedClientHeight);
  const LONG style = GetWindowLongW(form(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(GetClassLongPtrW(form(), GCLP_HICON), 0U);
  EXPECT_NE(GetClassLongPtrW(form(), GCLP_HICONSM), 0U);
}

TEST_F(Form1WindowTest, ControlsStandWhereTheTableSays) {
  for (const auto& [name, px] : testing::kExpectedForm1Pixels) {
    RECT rect{};
    GetWindowRect(control(name), &rect);
    MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, px.left) << name;
    EXPECT_EQ(rect.top, px.top) << name;
    EXPECT_EQ(rect.right - rect.left, px.width) << name;
    EXPECT_EQ(rect.bottom - rect.top, px.height) << name;
    EXPECT_TRUE(IsWindowVisible(control(name))) << name;
    EXPECT_TRUE(IsWindowEnabled(control(name))) << name;
  }
}

struct FontCase {
  std::string_view name;
  const wchar_t* face;
  LONG height;
  LONG weight;
};

TEST_F(Form1WindowTest, EachControlHasItsFont) {
  const FontCase cases[] = {
      {"Label1", L"MS Sans Serif", -13, FW_BOLD},
      {"Label5", L"MS Sans Serif", -13, FW_BOLD},
      {"TesgardButton1", L"Times New Roman", -11, FW_NORMAL},
      {"TesgardButton7", L"Times New Roman", -11, FW_NORMAL},
      {"TesgardButton2", L"Times New Roman", -19, FW_BOLD},
  };
  for (const FontCase& expected : cases) {
    const LOGFONTW font = FontOf(control(expected.name));
    EXPECT_STREQ(font.lfFaceName, expected.face) << expected.name;
    EXPECT_EQ(font.lfHeight, expected.height) << expected.name;
    EXPECT_EQ(font.lfWeight, expected.weight) << expected.name;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  for (const FileRow& row : FileRows()) {
    const LOGFONTW font = FontOf(m_window->control(row.textBox));
    EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
  }
}

TEST_F(Form1WindowTest, CaptionsKindsAndEmptyBoxes) {
  for (const ControlSpec& entry : Form1Controls()) {
    const HWND window = control(entry.name);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    switch (entry.kind) {
      case ControlKind::Label:
        EXPECT_EQ(_wcsicmp(ClassName(window).c_str(), L"Static"), 0) << entry.name;
        EXPECT_NE(style & SS_NOPREFIX, 0) << entry.name;
        break;
      case ControlKind::TextBox:
        EXPECT_EQ(_wcsicmp(ClassName(window).c_str(), L"Edit"), 0) << entry.name;
        EXPECT_EQ(style & ES_MULTILINE, 0) << entry.name;
        EXPECT_GE(SendMessageW(window, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << entry.name;
        break;
      case ControlKind::Button:
        EXPECT_EQ(_wcsicmp(ClassName(window).c_str(), L"Button"), 0) << entry.name;
        break;
    }
  }
  EXPECT_EQ(WindowText(control("Label3")), L"File3:");
  EXPECT_EQ(WindowText(control("TesgardButton6")), L"Browse");
  EXPECT_EQ(WindowText(control("TesgardButton2")), L"Restore xabrint File");
  for (const FileRow& row : FileRows()) {
    EXPECT_TRUE(WindowText(m_window->control(row.textBox)).empty());
  }
}

TEST_F(Form1WindowTest, FocusStartsOnFirstBrowseAndTabWalksTheOrder) {
  EXPECT_EQ(nameOf(GetFocus()), "TesgardButton1");
  std::vector<std::string> visited;
  HWND at = control("TesgardButton1");
  for (std::size_t i = 0; i < testing::kExpectedTabOrder.size(); ++i) {
    visited.push_back(nameOf(at));
    at = GetNextDlgTabItem(form(), at, FALSE);
  }
  EXPECT_EQ(nameOf(at), "TesgardButton1") << "the order wraps round";
  EXPECT_TRUE(std::equal(visited.begin(), visited.end(), testing::kExpectedTabOrder.begin(),
                         testing::kExpectedTabOrder.end()));
}

TEST_F(Form1WindowTest, EachLabelComesJustBeforeItsBox) {
  for (const FileRow& row : FileRows()) {
    EXPECT_EQ(GetWindow(m_window->control(row.label), GW_HWNDNEXT), m_window->control(row.textBox));
  }
}

TEST_F(Form1WindowTest, RestoreShowsTheRestoredNameWithInformationIcon) {
  setText("Text1", L"C:\\data\\photo.jpgxaBrint");

  const MessageBoxSeen seen = pressAndReadMessage("TesgardButton2");

  EXPECT_EQ(seen.title, L"Zeduzovir");
  EXPECT_EQ(seen.text, L"Restored C:\\data\\photo.jpg. Check your file to see if it's restored.");
  EXPECT_TRUE(seen.icon);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_EQ(text("Text1"), L"C:\\data\\photo.jpg");
}

TEST_F(Form1WindowTest, RestoreRightAfterStartIsNothingToDecrypt) {
  const MessageBoxSeen seen = pressAndReadMessage("TesgardButton2");

  EXPECT_EQ(seen.title, L"Zeduzovir");
  EXPECT_EQ(seen.text, L"Nothing to decrypt");
  EXPECT_FALSE(seen.icon);
  EXPECT_EQ(seen.buttons, 1);
}

TEST_F(Form1WindowTest, RestoreWorksOnRowOneAndLeavesTheOthers) {
  for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
    setText(box, Wide(box) + L"xaBrint.bak");
  }
  pressAndReadMessage("TesgardButton2");

  EXPECT_EQ(text("Text1"), L"Text1");
  for (const char* box : {"Text2", "Text3", "Text4", "Text5"}) {
    EXPECT_EQ(text(box), Wide(box) + L"xaBrint.bak");
  }
}

TEST_F(Form1WindowTest, SpaceAndEnterPressTheFocusedButton) {
  for (const WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
    SetFocus(control("TesgardButton2"));
    MessageBoxSeen seen;
    DialogWatcher watcher([&seen](HWND box) { seen = ReadAndDismiss(box); });
    PostMessageW(control("TesgardButton2"), WM_KEYDOWN, key, 0);
    PostMessageW(control("TesgardButton2"), WM_KEYUP, key, 0xC0000001);
    EXPECT_TRUE(PumpUntil(form(), [&watcher] { return watcher.ran(); })) << "key " << key;
    EXPECT_EQ(seen.text, L"Nothing to decrypt") << "key " << key;
  }
}

TEST_F(Form1WindowTest, EachBrowseFillsOnlyItsOwnRow) {
  const std::wstring chosen = CreateScratchFile(L"report.docxaBrint");
  for (const FileRow& browsed : FileRows()) {
    for (const FileRow& row : FileRows()) {
      m_window->SetText(row.textBox, u"typed");
    }
    DialogWatcher watcher([&chosen](HWND dialog) { ChooseInDialog(dialog, chosen); });
    SendMessageW(m_window->control(browsed.browseButton), BM_CLICK, 0, 0);

    ASSERT_TRUE(watcher.ran());
    for (const FileRow& row : FileRows()) {
      EXPECT_EQ(WindowText(m_window->control(row.textBox)),
                row.textBox == browsed.textBox ? chosen : L"typed");
    }
  }
}

TEST_F(Form1WindowTest, CancelledBrowseLeavesTypedText) {
  setText("Text3", L"typed by hand");
  DialogWatcher watcher(CancelDialog);
  SendMessageW(control("TesgardButton5"), BM_CLICK, 0, 0);

  ASSERT_TRUE(watcher.ran());
  EXPECT_EQ(text("Text3"), L"typed by hand");
}

TEST_F(Form1WindowTest, DialogOpensWithTheLastChosenFileFromAnyRow) {
  const std::wstring chosen = CreateScratchFile(L"one.docxaBrint");
  DialogWatcher choose([&chosen](HWND dialog) { ChooseInDialog(dialog, chosen); });
  SendMessageW(control("TesgardButton4"), BM_CLICK, 0, 0);
  ASSERT_TRUE(choose.ran());
  setText("Text4", L"typed in row 4");

  std::wstring offered;
  DialogWatcher cancel([&offered](HWND dialog) {
    offered = WindowText(FileNameField(dialog));
    CancelDialog(dialog);
  });
  SendMessageW(control("TesgardButton6"), BM_CLICK, 0, 0);

  ASSERT_TRUE(cancel.ran());
  EXPECT_NE(offered.find(L"one.docxaBrint"), std::wstring::npos)
      << std::string(offered.begin(), offered.end());
  EXPECT_EQ(text("Text2"), chosen);
  EXPECT_EQ(text("Text4"), L"typed in row 4");
}

// Run in a Wine prefix whose screen is at ZEDUZOVIR_EXPECTED_DPI; at any DPI otherwise.
TEST_F(Form1WindowTest, LaysOutAtTheScreenDpi) {
  const int dpi = m_window->dpi();
  if (const char* expected = std::getenv("ZEDUZOVIR_EXPECTED_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected));
  }
  RECT client{};
  GetClientRect(form(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kForm1ClientWidth, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(kForm1ClientHeight, dpi));
  for (const ControlSpec& entry : Form1Controls()) {
    RECT rect{};
    GetWindowRect(control(entry.name), &rect);
    MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&rect), 2);
    const PixelRect px = TwipsToPixels(entry.bounds, dpi);
    EXPECT_EQ(rect.left, px.left) << entry.name;
    EXPECT_EQ(rect.top, px.top) << entry.name;
    EXPECT_EQ(rect.right - rect.left, px.width) << entry.name;
    EXPECT_EQ(rect.bottom - rect.top, px.height) << entry.name;
    if (!entry.font.face.empty()) {
      EXPECT_EQ(FontOf(control(entry.name)).lfHeight, -PointsToPixels(entry.font.points, dpi))
          << entry.name;
    }
  }
}

TEST_F(Form1WindowTest, DpiChangeRescalesLayoutAndFonts) {
  RECT suggested{100, 100, 700, 600};
  SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

  RECT client{};
  GetClientRect(form(), &client);
  EXPECT_EQ(client.right, 557);  // 5565 twips at 144 DPI, 556.5 rounded up
  EXPECT_EQ(client.bottom, 429);
  RECT restore{};
  GetWindowRect(control("TesgardButton2"), &restore);
  MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&restore), 2);
  EXPECT_EQ(restore.left, 69);
  EXPECT_EQ(restore.top, 222);
  EXPECT_EQ(restore.right - restore.left, 326);        // 325.5
  EXPECT_EQ(restore.bottom - restore.top, 47);         // 46.5
  EXPECT_EQ(FontOf(control("Label2")).lfHeight, -20);  // 9.75 pt is 19.5 px
  EXPECT_EQ(FontOf(control("TesgardButton2")).lfHeight, -29);
  RECT window{};
  GetWindowRect(form(), &window);
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.top, 100);
}

}  // namespace
}  // namespace zeduzovir
