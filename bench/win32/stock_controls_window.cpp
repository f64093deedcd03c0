// The floor for Zeduzovir.exe's window: the same sixteen controls as stock Win32 controls, with
// the same four fonts, manifest and icon, placed from the same twips and nothing else.

#include <windows.h>

#include "resource_ids.h"

namespace {

struct Control {
  const wchar_t* kind;
  const wchar_t* text;
  int left, top, width, height;  // twips
  int font;
};

constexpr int kLabelFont = 0, kBoxFont = 1, kBrowseFont = 2, kRestoreFont = 3;

constexpr Control kControls[] = {
    {L"STATIC", L"File1:", 105, 105, 585, 240, kLabelFont},
    {L"EDIT", L"", 690, 75, 3195, 285, kBoxFont},
    {L"BUTTON", L"Browse", 3960, 75, 750, 270, kBrowseFont},
    {L"STATIC", L"File2:", 105, 510, 585, 240, kLabelFont},
    {L"EDIT", L"", 690, 480, 3195, 285, kBoxFont},
    {L"BUTTON", L"Browse", 3975, 487, 750, 270, kBrowseFont},
    {L"STATIC", L"File3:", 105, 915, 585, 240, kLabelFont},
    {L"EDIT", L"", 690, 885, 3195, 285, kBoxFont},
    {L"BUTTON", L"Browse", 3975, 899, 750, 270, kBrowseFont},
    {L"STATIC", L"File4:", 105, 1320, 585, 240, kLabelFont},
    {L"EDIT", L"", 690, 1290, 3195, 285, kBoxFont},
    {L"BUTTON", L"Browse", 3975, 1311, 750, 270, kBrowseFont},
    {L"STATIC", L"File5:", 105, 1710, 585, 240, kLabelFont},
    {L"EDIT", L"", 690, 1695, 3195, 285, kBoxFont},
    {L"BUTTON", L"Browse", 3975, 1725, 750, 270, kBrowseFont},
    {L"BUTTON", L"Restore xabrint File", 690, 2220, 3255, 465, kRestoreFont},
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HFONT Font(const wchar_t* face, int hundredthsOfPoints, int weight, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoints, dpi, 7200);
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"StockControlsWindow";
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZEDUZOVIR));
  RegisterClassExW(&windowClass);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  const HFONT fonts[] = {
      Font(L"MS Sans Serif", 975, FW_BOLD, dpi), CreateFontIndirectW(&metrics.lfMessageFont),
      Font(L"Times New Roman", 825, FW_NORMAL, dpi), Font(L"Times New Roman", 1425, FW_BOLD, dpi)};

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rect{0, 0, px(5565), px(4290)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  HWND hwnd = CreateWindowExW(0, L"StockControlsWindow", L"Zeduzovir", style, CW_USEDEFAULT,
                              CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top,
                              nullptr, nullptr, instance, nullptr);
  for (const Control& c : kControls) {
    const bool edit = c.kind[0] == L'E';
    HWND child = CreateWindowExW(
        edit ? WS_EX_CLIENTEDGE : 0, c.kind, c.text,
        WS_CHILD | WS_VISIBLE | (c.kind[0] == L'S' ? 0 : WS_TABSTOP) | (edit ? ES_AUTOHSCROLL : 0),
        px(c.left), px(c.top), px(c.width), px(c.height), hwnd, nullptr, instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), FALSE);
  }
  ShowWindow(hwnd, showCommand);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  for (HFONT font : fonts) {
    DeleteObject(font);
  }
  return 0;
}
