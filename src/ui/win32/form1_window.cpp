#include "ui/win32/form1_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "commands/drop_command.h"
#include "commands/file_rows.h"
#include "resource_ids.h"
#include "ui/accessible_text.h"
#include "ui/form1_layout.h"
#include "ui/form1_routing.h"
#include "ui/tesgard_button_settings.h"
#include "ui/twips.h"
#include "ui/win32/start_files_hand_over.h"
#include "ui/win32/system_function.h"
#include "ui/win32/win32_control_ids.h"
#include "ui/win32/win32_text.h"

namespace zeduzovir {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Takes dropped files, as DragAcceptFiles would make it, without loading shell32 at start.
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES;
constexpr int kAppIconId = IDI_ZEDUZOVIR;
// Posted by OpenFiles, so that its message opens once the window shows.
constexpr UINT kTellFilesLeftOut = WM_APP;

void RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (GetClassInfoExW(instance, Form1Window::kClassName, &windowClass)) {
    return;
  }
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = Form1Window::kClassName;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  RegisterClassExW(&windowClass);
}

LOGFONTW ControlFont(const FontSpec& wanted, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -PointsToPixels(wanted.points, dpi);
  font.lfWeight = wanted.weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  // The face name stays as written; Windows maps "MS Sans Serif" to its substitute itself.
  const std::wstring face = ToWide(wanted.face);
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return font;
}

HWND CreateChild(HWND parent, const ControlSpec& entry) {
  const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(Win32ControlId(entry.id)));
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  const std::wstring text = ToWide(entry.text);
  switch (entry.kind) {
    case ControlKind::Label:
      return CreateWindowExW(0, L"STATIC", text.c_str(),
                             WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent, id,
                             instance, nullptr);
    case ControlKind::TextBox: {
      HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0,
                                  0, 0, 0, parent, id, instance, nullptr);
      // Zero lifts the edit control's default limit to the largest it takes.
      SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
      return edit;
    }
    case ControlKind::Button:
      return CreateTesgardButton(parent, Win32ControlId(entry.id), text.c_str(),
                                 ToWide(AccessibleDescription(entry.id)));
  }
  return nullptr;
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, std::function<void()> onDestroyed,
                         DpiFunctions dpiFunctions, HighContrastQuery highContrast)
    : m_instance(instance),
      m_onDestroyed(std::move(onDestroyed)),
      m_dpiFunctions(dpiFunctions),
      m_highContrast(highContrast) {
  RegisterWindowClass(instance, &Form1Window::WindowProc);
  const std::wstring caption = ToWide(kForm1Caption);
  CreateWindowExW(kWindowExStyle, kClassName, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
}

Form1Window::~Form1Window() {
  if (m_hwnd != nullptr) {
    DestroyWindow(m_hwnd);
  }
}

LRESULT CALLBACK Form1Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window =
        static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->m_hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    // The last message: the object may outlive the window, never the other way round.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->m_hwnd = nullptr;
    window->m_controls.fill(nullptr);
    window->m_fonts.clear();  // the controls that showed them are gone
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA:
      return OnFilesHandedOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOLORCHANGE:
      OnColoursChanged();
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) {
        OnColoursChanged();
      }
      return 0;
    case kTellFilesLeftOut:
      OnTellFilesLeftOut();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(m_hwnd, message, wParam, lParam);
  }
}

void Form1Window::OnCreate() {
  m_dpi = m_dpiFunctions.DpiOf(m_hwnd);
  CreateControls();
  CreateFonts();
  LayOut();
  const SIZE size = WindowSizeForClientArea();
  SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_focusedControl = control(Form1TabOrder().front());
}

void Form1Window::OnActivate(bool active) {
  // Like a dialog, the window hands the focus back to the control that had it.
  if (active) {
    SetFocus(m_focusedControl);
  } else if (HWND focused = GetFocus(); focused != nullptr && IsChild(m_hwnd, focused)) {
    m_focusedControl = focused;
  }
}

void Form1Window::CreateControls() {
  // Children are created in tab order, since the z-order is the tab order, and each label
  // just before its box, so screen readers name the box by it.
  for (const ControlId id : Form1TabOrder()) {
    if (const FileRow* row = FileRowOf(id); row != nullptr && row->textBox == id) {
      m_controls[IndexOf(row->label)] = CreateChild(m_hwnd, Form1Control(row->label));
    }
    m_controls[IndexOf(id)] = CreateChild(m_hwnd, Form1Control(id));
  }
}

void Form1Window::CreateFonts() {
  // The fonts in use are deleted only once every control has moved to the new ones.
  std::vector<SharedFont> fonts;
  for (const ControlSpec& entry : Form1Controls()) {
    auto shared = std::find_if(fonts.begin(), fonts.end(), [&entry](const SharedFont& font) {
      return font.kind == entry.font;
    });
    if (shared == fonts.end()) {
      const LOGFONTW wanted = entry.font == kWindowDefaultFont ? m_dpiFunctions.MessageFont(m_dpi)
                                                               : ControlFont(entry.font, m_dpi);
      fonts.push_back({entry.font, UniqueFont(CreateFontIndirectW(&wanted))});
      shared = fonts.end() - 1;
    }
    SendMessageW(control(entry.id), WM_SETFONT, reinterpret_cast<WPARAM>(shared->font.get()), TRUE);
  }
  m_fonts = std::move(fonts);
}

void Form1Window::LayOut() {
  for (const ControlSpec& entry : Form1Controls()) {
    const PixelRect px = TwipsToPixels(entry.bounds, m_dpi);
    SetWindowPos(control(entry.id), nullptr, px.left, px.top, px.width, px.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

SIZE Form1Window::WindowSizeForClientArea() const {
  // The frame is measured as the window has it now rather than computed for a DPI, since
  // some systems draw frames at other metrics than they report for that DPI.
  RECT window{};
  RECT client{};
  GetWindowRect(m_hwnd, &window);
  GetClientRect(m_hwnd, &client);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  return {TwipsToPixels(kForm1ClientWidth, m_dpi) + frameWidth,
          TwipsToPixels(kForm1ClientHeight, m_dpi) + frameHeight};
}

void Form1Window::OnCommand(int id, int notification) {
  if (IsWin32ControlId(id) && notification == BN_CLICKED) {
    PressButton(ControlIdFromWin32(id), *this);
  } else if (id == IDOK) {
    // Dialog navigation turns Enter into IDOK; Enter presses the focused button.
    PressFocusedButton();
  }
}

void Form1Window::PressFocusedButton() {
  const HWND focused = GetFocus();
  const int id = GetDlgCtrlID(focused);
  // A focused box runs nothing (PressButton knows only buttons), nor does a window elsewhere.
  if (focused != nullptr && IsChild(m_hwnd, focused) && IsWin32ControlId(id)) {
    PressButton(ControlIdFromWin32(id), *this);
  }
}

void Form1Window::OnDropFiles(HDROP drop) {
  // shell32 is loaded on the first drop rather than at every start.
  const auto dragQueryPoint =
      SystemFunction<decltype(&DragQueryPoint)>(L"shell32.dll", "DragQueryPoint");
  const auto dragQueryFile =
      SystemFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
  const auto dragFinish = SystemFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
  if (dragQueryPoint == nullptr || dragQueryFile == nullptr || dragFinish == nullptr) {
    return;
  }
  POINT at{};
  dragQueryPoint(drop, &at);
  const int id = GetDlgCtrlID(ChildWindowFromPointEx(m_hwnd, at, CWP_SKIPINVISIBLE));
  // Each buffer is sized by asking, as paths may run far past the old 260-character limit.
  std::vector<std::u16string> paths(dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0));
  for (UINT i = 0; i < paths.size(); ++i) {
    std::wstring path(dragQueryFile(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(dragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths[i] = ToU16(path);
  }
  dragFinish(drop);
  if (IsWin32ControlId(id)) {
    DropCommand(ControlIdFromWin32(id), paths, *this);
  }
}

bool Form1Window::OnFilesHandedOver(const COPYDATASTRUCT& data) {
  // A window with a box or the file dialog open takes none, since the dialog's answer could
  // replace a file it took; that start opens a window of its own.
  const std::vector<StartFile> files = HandedOverFiles(data);
  if (files.empty() || !IsWindowEnabled(m_hwnd) || !FilesFitEmptyRows(files, *this)) {
    return false;
  }
  OpenFiles(files);
  ComeToFront();
  return true;
}

void Form1Window::ComeToFront() {
  if (IsIconic(m_hwnd)) {
    ShowWindow(m_hwnd, SW_RESTORE);
  }
  // Windows lets it come forward only when the start that handed the files over may; else the
  // taskbar button flashes until the person comes to the window.
  if (!SetForegroundWindow(m_hwnd)) {
    FLASHWINFO flash{sizeof(flash), m_hwnd, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
  }
}

void Form1Window::OnDrawItem(const DRAWITEMSTRUCT& item) {
  DrawTesgardButton(
      item, m_highContrast() ? InSystemColours(kTesgardButtonSettings) : kTesgardButtonSettings);
}

LRESULT Form1Window::OnCtlColorStatic(HDC dc) {
  // The scheme's text colour on its face: black on beige as standard, legible in any scheme.
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
  m_dpi = dpi;
  CreateFonts();
  LayOut();
  // The client area keeps its size in twips, so only the suggested position is taken.
  const SIZE size = WindowSizeForClientArea();
  SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::OnColoursChanged() {
  RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1Window::OpenFiles(StartFiles files) {
  // Files handed over later leave out none, nor silence what is still to be told.
  if (std::u16string leftOut = OpenFilesCommand(files, *this); !leftOut.empty()) {
    m_filesLeftOut = std::move(leftOut);
    PostMessageW(m_hwnd, kTellFilesLeftOut, 0, 0);
  }
}

void Form1Window::OnTellFilesLeftOut() {
  // Told once: any program may post this message, again or before there is anything to tell.
  const std::u16string message = std::exchange(m_filesLeftOut, {});
  if (!message.empty()) {
    ShowMessage(message, MessageIcon::Information);
  }
}

void Form1Window::OnDestroy() {
  if (m_onDestroyed) {
    m_onDestroyed();
  }
}

void Form1Window::ShowMessage(std::u16string_view text, MessageIcon icon) {
  const std::wstring wideText = ToWide(text);
  const std::wstring title = ToWide(kApplicationTitle);
  const UINT iconFlag = icon == MessageIcon::Information ? MB_ICONINFORMATION : 0;
  MessageBoxW(m_hwnd, wideText.c_str(), title.c_str(), MB_OK | iconFlag);
}

std::optional<std::u16string> Form1Window::PickFileToOpen() {
  return m_commonDialog1.Show(m_hwnd);
}

std::u16string Form1Window::Text(ControlId textBox) const {
  const HWND box = control(textBox);
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(box, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return ToU16(text);
}

void Form1Window::SetText(ControlId textBox, std::u16string_view text) {
  SetWindowTextW(control(textBox), ToWide(text).c_str());
}

}  // namespace zeduzovir
