// Drives the Win32 window with real input: mouse and keys go in through SendInput and reach
// the window through the system, which holds them back from a window a modal box disables.

// clang-format off
#include <windows.h>
#include <dlgs.h>
#include <oleacc.h>
#include <shlobj.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <utility>

#include "ui/form1_layout.h"
#include "ui/win32/command_line_files.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/win32_control_ids.h"
#include "ui/win32/win32_text.h"
#include "window/window_driver.h"

namespace zeduzovir::testing {
namespace {

std::u16string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
  return ToU16(text);
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[32] = {};
  GetClassNameW(window, found, 32);
  return _wcsicmp(found, name) == 0;
}

// The file dialog's name field: a combo box on newer dialogs, an edit on older ones.
HWND FileNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, cmb13);
  return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

// A modal dialog as a person sees it: the file dialog, or a message box.
Modal Read(HWND dialog) {
  Modal shown;
  shown.title = WindowText(dialog);
  if (HWND fileName = FileNameField(dialog)) {
    shown.kind = Modal::Kind::FileDialog;
    shown.fileName = WindowText(fileName);
    return shown;
  }
  shown.kind = Modal::Kind::MessageBox;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child))
      continue;
    const bool isIcon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (IsClass(child, L"Button")) {
      ++shown.buttons;
    } else if (IsClass(child, L"Static") && isIcon) {
      shown.icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (IsClass(child, L"Static") && GetWindowTextLengthW(child) > 0) {
      shown.text = WindowText(child);
    }
  }
  return shown;
}

// A key pressed and let go: a virtual key, or a character typed.
void SendKey(WORD key, wchar_t unit = 0) {
  INPUT input{INPUT_KEYBOARD, {}};
  input.ki = {key, unit, unit != 0 ? DWORD{KEYEVENTF_UNICODE} : 0, 0, 0};
  SendInput(1, &input, sizeof(input));
  input.ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

// Moves the mouse to a point of the screen, then presses or lets go of its button there.
void SendMouse(POINT at, DWORD buttons) {
  INPUT input{INPUT_MOUSE, {}};
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof(input));
}

// Runs the message loop as the program does, dialog navigation included, until `done` or
// `milliseconds` have passed.
template <typename Done>
bool Pump(HWND form, int milliseconds, Done done) {
  const ULONGLONG deadline = GetTickCount64() + ULONGLONG(milliseconds);
  MSG message;
  while (!done() && GetTickCount64() < deadline) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (form == nullptr || !IsDialogMessageW(form, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    Sleep(5);
  }
  return done();
}

void Settle(HWND form) {
  Pump(form, 100, [] { return false; });
}

// A visible window of this thread; with `dialog`, a dialog box.
HWND FindThreadWindow(bool dialog) {
  std::pair<bool, HWND> search{dialog, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM param) {
        auto* s = reinterpret_cast<std::pair<bool, HWND>*>(param);
        if (IsWindowVisible(window) && (!s->first || IsClass(window, L"#32770")))
          s->second = window;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// What to do with the next dialog this thread shows; a timer looks for it, since a modal
// dialog runs its own message loop.
std::function<void(HWND)> g_answerDialog;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindThreadWindow(true);
  if (dialog == nullptr || !g_answerDialog)
    return;
  KillTimer(nullptr, timer);
  std::exchange(g_answerDialog, nullptr)(dialog);
  // Some dialogs close a moment after they are answered; one left open fails, not hangs.
  if (!Pump(nullptr, 3000, [dialog] { return !IsWindowVisible(dialog); })) {
    ADD_FAILURE() << "the dialog stayed open";
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

// The colours a dark scheme changes, and what it sets them to.
constexpr std::array kDarkElements{COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
constexpr std::array kDarkColours{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0),
                                  RGB(255, 255, 255)};

Rgb SystemColour(int element) {
  const COLORREF c = GetSysColor(element);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

class Win32Driver final : public WindowDriver {
 public:
  // With ZEDUZOVIR_TEST_SYSTEM_DPI set, the window finds none of the per-window DPI functions,
  // as on Windows 7 and 8.
  explicit Win32Driver(const std::vector<std::string>& arguments = {},
                       Form1Window::HighContrastQuery highContrast = &HighContrastIsOn)
      : m_window(std::make_unique<Form1Window>(
            GetModuleHandleW(nullptr), nullptr,
            _wgetenv(L"ZEDUZOVIR_TEST_SYSTEM_DPI") ? DpiFunctions::None() : DpiFunctions::Lookup(),
            highContrast)) {
    // As the C runtime hands them to the program: UTF-16.
    std::vector<std::wstring> wide;
    for (const std::string& argument : arguments) {
      std::wstring unit(argument.size(), L'\0');
      unit.resize(std::size_t(MultiByteToWideChar(CP_UTF8, 0, argument.data(), int(argument.size()),
                                                  unit.data(), int(unit.size()))));
      wide.push_back(unit);
    }
    std::vector<const wchar_t*> argv;
    for (const std::wstring& argument : wide) {
      argv.push_back(argument.c_str());
    }
    m_window->OpenFiles(CommandLineFiles(argv));
    m_shownAtStart = WhileAnswering(
        [this] {
          ShowWindow(form(), SW_SHOW);
          SetForegroundWindow(form());
        },
        std::nullopt, 0);
    // Laid out for the screen it shows on, with or without the per-window DPI functions.
    EXPECT_EQ(m_window->dpi(), ScreenDpi());
  }

  ~Win32Driver() override {
    if (m_coloursBefore[0] != CLR_INVALID) {
      SetSysColors(int(kDarkElements.size()), kDarkElements.data(), m_coloursBefore.data());
    }
    m_window.reset();
    // Every dialog belongs to the window: none may stay on screen.
    EXPECT_EQ(FindThreadWindow(false), nullptr);
  }

  Modal ShownAtStart() override { return m_shownAtStart; }
  std::u16string CurrentFolder() override {
    wchar_t folder[MAX_PATH] = {};
    std::wstring path(folder, GetCurrentDirectoryW(MAX_PATH, folder));
    return ToU16(path.ends_with(L'\\') ? path : path + L'\\');
  }
  int LayoutDpi() const override { return m_window->dpi(); }
  bool MoveToScreenOfDpi(int dpi) override {
    RECT suggested{100, 100, 700, 600};
    SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    GetWindowRect(form(), &frame);
    EXPECT_EQ(frame.left, 100);  // where the system suggests
    return true;
  }
  PixelRect ClientRect() override {
    RECT client{};
    GetClientRect(form(), &client);
    return {0, 0, client.right, client.bottom};
  }
  PixelRect RectOf(std::string_view name) override {
    RECT r{};
    GetWindowRect(control(name), &r);
    MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::u16string TextOf(std::string_view name) override {
    return WindowText(name == "Form1" ? form() : control(name));
  }
  std::string FocusedControl() override {
    const int id = GetDlgCtrlID(GetFocus());
    return IsWin32ControlId(id) ? std::string(Form1Control(ControlIdFromWin32(id)).name) : "";
  }
  Font FontOf(std::string_view name) override {
    LOGFONTW font{};
    if (name == "Form1") {
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof(metrics);
      SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
      font = metrics.lfMessageFont;  // at the system's DPI
      font.lfHeight = MulDiv(font.lfHeight, LayoutDpi(), ScreenDpi());
    } else {
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)),
                 sizeof(font), &font);
    }
    return {ToU16(font.lfFaceName), std::abs(font.lfHeight), static_cast<int>(font.lfWeight)};
  }
  // As Active Accessibility names a box: by the label just before it.
  std::u16string AccessibleName(std::string_view name) override {
    HWND before = GetWindow(control(name), GW_HWNDPREV);
    return IsClass(control(name), L"Edit") && IsClass(before, L"Static")
               ? WindowText(before)
               : WindowText(control(name));
  }
  // As a screen reader asks: through the control's accessible object, by each way in to it. A
  // way that gives another text, or another object, is told of instead of the description.
  std::u16string AccessibleDescription(std::string_view name) override {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control(name), DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
      return u"(no accessible object)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto read = [&self](IAccessible* from) {
      BSTR description = nullptr;
      from->get_accDescription(self, &description);
      const std::u16string text = description != nullptr ? ToU16(description) : u"";
      SysFreeString(description);
      return text;
    };
    const std::u16string text = read(object);
    std::u16string wrong;
    // Back from its window interface, as some readers come to it.
    IOleWindow* window = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) {
      IAccessible* again = nullptr;
      HWND shown = nullptr;
      window->GetWindow(&shown);
      window->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&again));
      if (shown != control(name) || again == nullptr || read(again) != text) {
        wrong += u"(another object through IOleWindow)";
      }
      if (again != nullptr)
        again->Release();
      window->Release();
    }
    // COM's identity: IUnknown is the same pointer from each interface.
    IUnknown* identity = nullptr;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    for (const IID& iid : {IID_IDispatch, IID_IOleWindow}) {
      IUnknown* through = nullptr;
      IUnknown* itsIdentity = nullptr;
      if (SUCCEEDED(object->QueryInterface(iid, reinterpret_cast<void**>(&through)))) {
        through->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&itsIdentity));
        wrong += itsIdentity == identity ? u"" : u"(two identities)";
        itsIdentity->Release();
        through->Release();
      }
    }
    identity->Release();
    // By dispatch, as scripts and some readers ask.
    DISPPARAMS arguments{&self, nullptr, 1, 0};
    VARIANT result{};
    object->Invoke(DISPID_ACC_DESCRIPTION, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                   &arguments, &result, nullptr, nullptr);
    const std::u16string byDispatch = result.vt == VT_BSTR ? ToU16(result.bstrVal) : u"";
    VariantClear(&result);
    object->Release();
    wrong += byDispatch == text ? u"" : u"(by dispatch: " + byDispatch + u")";
    return wrong.empty() ? text : wrong;
  }
  std::vector<int> IconSizes() override {
    std::vector<int> sizes;
    for (const int which : {GCLP_HICONSM, GCLP_HICON}) {
      ICONINFO icon{};
      GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(form(), which)), &icon);
      BITMAP bitmap{};
      GetObjectW(icon.hbmColor, sizeof(bitmap), &bitmap);
      sizes.push_back(bitmap.bmWidth);
      DeleteObject(icon.hbmColor);
      DeleteObject(icon.hbmMask);
    }
    return sizes;
  }
  void PressTab() override {
    SendKey(VK_TAB);
    Settle(form());
  }
  void Paste(std::string_view box, std::u16string_view text) override {
    SetWindowTextW(control(box), ToWide(text).c_str());
  }
  void Type(std::string_view box, std::u16string_view text) override {
    SendMouse(Centre(box), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    for (const char16_t unit : text) {
      SendKey(0, static_cast<wchar_t>(unit));
    }
    Settle(form());
  }

  // Posts `message` to the window, as any program may, and deals with what it opens.
  Modal Post(UINT message) {
    return WhileAnswering([&] { PostMessageW(form(), message, 0, 0); }, std::nullopt, 0);
  }

  Modal Press(std::string_view button, PressWith how,
              std::optional<std::u16string> choose) override {
    return WhileAnswering(
        [&] {
          if (how == PressWith::Mouse) {
            SendMouse(Centre(button), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
          } else {
            SetFocus(control(button));
            SendKey(how == PressWith::Space ? VK_SPACE : how == PressWith::Enter ? VK_RETURN : 'X');
          }
        },
        choose, how == PressWith::Mouse ? 5000 : 500);
  }

  // Does `act` and deals with the modal window it opens, as Press() says, waiting for one up to
  // `milliseconds`; returns what it showed.
  Modal WhileAnswering(const std::function<void()>& act, std::optional<std::u16string> choose,
                       int milliseconds) {
    Modal shown;
    bool answered = false;
    g_answerDialog = [&](HWND dialog) {
      answered = true;
      shown = Read(dialog);
      // Set beside the window, as a person would drag it, to click and type into the window.
      RECT beside{};
      GetWindowRect(form(), &beside);
      SetWindowPos(dialog, nullptr, beside.right + 8, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      Type("Text5", u"z");  // held back while the dialog is open
      if (shown.kind == Modal::Kind::FileDialog && choose) {
        SetWindowTextW(FileNameField(dialog), ToWide(*choose).c_str());
      }
      const bool ok = shown.kind == Modal::Kind::MessageBox || choose;
      SendMessageW(GetDlgItem(dialog, ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, LookForDialog);
    act();
    Pump(form(), milliseconds, [&] { return answered; });
    Settle(form());
    KillTimer(nullptr, timer);
    g_answerDialog = nullptr;
    return shown;
  }
  // Sends the window the drop a file manager would: the paths after a DROPFILES header, each
  // ended by a NUL and the list by one more, at the middle of the control.
  void Drop(std::string_view name, const std::vector<std::u16string>& paths) override {
    std::u16string list;
    for (const std::u16string& path : paths) {
      list += path + u'\0';
    }
    const std::size_t size = sizeof(DROPFILES) + (list.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    const PixelRect at = RectOf(name);
    *header = {sizeof(DROPFILES), {at.left + at.width / 2, at.top + at.height / 2}, FALSE, TRUE};
    std::copy(list.begin(), list.end(), reinterpret_cast<char16_t*>(header + 1));
    GlobalUnlock(memory);
    SendMessageW(form(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  }

  void UseDarkColours() override {
    for (std::size_t i = 0; i < kDarkElements.size(); ++i) {
      m_coloursBefore[i] = GetSysColor(kDarkElements[i]);
    }
    // Tells every window, as the control panel does.
    SetSysColors(int(kDarkElements.size()), kDarkElements.data(), kDarkColours.data());
    Settle(form());
  }

  Picture Grab(std::string_view name, bool held) override {
    if (held)
      SendMouse(Centre(name), MOUSEEVENTF_LEFTDOWN);
    Settle(form());
    Picture picture{RectOf(name).width, RectOf(name).height, {}};
    HDC shown = GetDC(control(name));
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const COLORREF c = GetPixel(shown, x, y);
        picture.pixels.push_back({GetRValue(c), GetGValue(c), GetBValue(c)});
      }
    }
    ReleaseDC(control(name), shown);
    if (held) {
      POINT away{2, ClientRect().height - 2};  // let go away from the button: no click
      ClientToScreen(form(), &away);
      SendMouse(away, MOUSEEVENTF_LEFTUP);
      Settle(form());
    }
    return picture;
  }

  int CaptionWidth(std::string_view name) override {
    HDC dc = GetDC(control(name));
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)));
    const std::wstring caption = ToWide(WindowText(control(name)));
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control(name), dc);
    return size.cx;
  }

  std::u16string CreateFile(std::u16string_view name) override {
    wchar_t folder[MAX_PATH] = {};
    const std::wstring path = std::wstring(folder, GetTempPathW(MAX_PATH, folder)) + ToWide(name);
    std::ofstream(path.c_str()).put('\n');
    return ToU16(path);
  }

 private:
  HWND form() const { return m_window->hwnd(); }
  HWND control(std::string_view name) const {
    for (const ControlSpec& entry : Form1Controls()) {
      if (entry.name == name)
        return m_window->control(entry.id);
    }
    throw std::runtime_error("no control named " + std::string(name));
  }
  POINT Centre(std::string_view name) const {
    RECT r{};
    GetWindowRect(control(name), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  std::unique_ptr<Form1Window> m_window;
  Modal m_shownAtStart;
  std::array<COLORREF, kDarkElements.size()> m_coloursBefore{CLR_INVALID};
};

// What only the Win32 window has: under Windows' high-contrast setting, which Wine never turns
// on, the buttons take the scheme's colours.
TEST(Win32Form1, InHighContrastButtonsTakeTheSchemesColours) {
  Win32Driver window({}, [] { return true; });
  window.UseDarkColours();
  const Picture button = window.Grab("TesgardButton2", false);
  const int middle = button.height / 2;
  EXPECT_EQ(button.at(2, middle), SystemColour(COLOR_BTNFACE));
  EXPECT_EQ(button.at(1, middle), SystemColour(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(button.at(button.width - 2, middle), SystemColour(COLOR_BTNSHADOW));
  // The caption, white on black, is there in full strength.
  EXPECT_NE(std::find(button.pixels.begin(), button.pixels.end(), SystemColour(COLOR_BTNTEXT)),
            button.pixels.end());
}

// The window tells of files left out at start once, and only when there are some, however
// often the message that makes it tell arrives.
TEST(Win32Form1, TellsOfFilesLeftOutOnceAndOnlyOfSome) {
  for (const auto& arguments : {std::vector<std::string>{}, {"1", "2", "3", "4", "5", "6"}}) {
    Win32Driver window(arguments);
    EXPECT_EQ(window.ShownAtStart().kind,
              arguments.empty() ? Modal::Kind::None : Modal::Kind::MessageBox);
    EXPECT_EQ(window.Post(WM_APP).kind, Modal::Kind::None) << arguments.size() << " files";
  }
}

}  // namespace

std::unique_ptr<WindowDriver> OpenForm1(const std::vector<std::string>& arguments) {
  return std::make_unique<Win32Driver>(arguments);
}

}  // namespace zeduzovir::testing
