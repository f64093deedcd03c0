// Shows Zeduzovir.exe's window as the program does, with a path in row 1, and writes what it
// shows: picture.ppm, its client area as drawn, and picture.txt, what it reports of each control.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/form1_layout.h"
#include "ui/win32/form1_window.h"

namespace {

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

}  // namespace

int main() {
  using zeduzovir::ControlId;
  zeduzovir::Form1Window form(GetModuleHandleW(nullptr));
  form.SetText(ControlId::Text1, u"C:\\Users\\ana\\photo.jpgxaBrint");
  ShowWindow(form.hwnd(), SW_SHOWNORMAL);
  // Everything the showing queued, then every control painted before the picture is taken.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  RedrawWindow(form.hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

  RECT client{};
  GetClientRect(form.hwnd(), &client);
  const int width = client.right, height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC window = GetDC(form.hwnd());
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY) != FALSE;
  std::FILE* picture = std::fopen("picture.ppm", "wb");
  std::FILE* manifest = std::fopen("picture.txt", "wb");
  if (!copied || picture == nullptr || manifest == nullptr) {
    return 1;
  }
  std::fprintf(picture, "P6\n%d %d\n255\n", width, height);
  const auto* pixels = static_cast<const unsigned char*>(bits);  // blue, green, red, unused
  for (int i = 0; i < width * height; ++i) {
    const unsigned char rgb[] = {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]};
    std::fwrite(rgb, 1, 3, picture);
  }

  std::fprintf(manifest, "Form1 0,0,%d,%d %s\n", width, height, Utf8(TextOf(form.hwnd())).c_str());
  for (const zeduzovir::ControlSpec& layout : zeduzovir::Form1Controls()) {
    HWND control = form.control(layout.id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    std::fprintf(manifest, "%.*s %ld,%ld,%ld,%ld ", int(layout.name.size()), layout.name.data(),
                 r.left, r.top, r.right - r.left, r.bottom - r.top);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    // The window's own font is the system's, which differs between versions of Windows.
    if (layout.font == zeduzovir::kWindowDefaultFont)
      std::fputs("default", manifest);
    else
      std::fprintf(manifest, "%s,%ld,%ld", Utf8(font.lfFaceName).c_str(), font.lfHeight,
                   font.lfWeight);
    std::fprintf(manifest, " %s\n", Utf8(TextOf(control)).c_str());
  }
  return std::fclose(picture) == 0 && std::fclose(manifest) == 0 ? 0 : 1;
}
