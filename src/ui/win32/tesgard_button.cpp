#include "ui/win32/tesgard_button.h"

#include <string>

#include "ui/win32/described_accessible.h"
#include "ui/win32/gdi_object.h"

namespace zeduzovir {

namespace {

constexpr wchar_t kDescriptionProperty[] = L"Zeduzovir.Description";

// Every BUTTON shares the class's procedure, so one is kept for all.
WNDPROC g_buttonProc = nullptr;

// The button as a screen reader asks for it: with its description.
LRESULT CALLBACK DescribedButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* description = static_cast<std::wstring*>(GetPropW(button, kDescriptionProperty));
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    if (const LRESULT answer = AnswerWithDescription(button, wParam, *description)) {
      return answer;
    }
  } else if (message == WM_NCDESTROY) {
    RemovePropW(button, kDescriptionProperty);
    delete description;
  }
  return CallWindowProcW(g_buttonProc, button, message, wParam, lParam);
}

Rgb ToRgb(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF ToColorRef(Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

COLORREF Darker(Rgb rgb) {
  return RGB(rgb.red / 2, rgb.green / 2, rgb.blue / 2);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

HWND CreateTesgardButton(HWND parent, int id, const wchar_t* caption,
                         std::wstring_view description) {
  HWND button = CreateWindowExW(
      0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW, 0,
      0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (button != nullptr && !description.empty()) {
    SetPropW(button, kDescriptionProperty, new std::wstring(description));
    g_buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DescribedButtonProc)));
  }
  return button;
}

bool HighContrastIsOn() {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof(highContrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(highContrast), &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

TesgardButtonSettings InSystemColours(TesgardButtonSettings settings) {
  settings.bcol = ToRgb(GetSysColor(COLOR_BTNFACE));
  settings.fcol = ToRgb(GetSysColor(COLOR_BTNTEXT));
  settings.fcolo = settings.fcol;
  settings.embossm = ToRgb(GetSysColor(COLOR_BTNSHADOW));
  settings.embosss = ToRgb(GetSysColor(COLOR_BTNHIGHLIGHT));
  return settings;
}

void DrawTesgardButton(const DRAWITEMSTRUCT& item, const TesgardButtonSettings& settings) {
  HDC dc = item.hDC;
  const RECT face = item.rcItem;
  const UniqueBrush faceBrush(CreateSolidBrush(ToColorRef(settings.bcol)));
  FillRect(dc, &face, faceBrush.get());

  const UniqueBrush outlineBrush(CreateSolidBrush(Darker(settings.embossm)));
  FrameRect(dc, &face, outlineBrush.get());

  // A pressed button swaps its light and dark edges so it looks pushed in.
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF light = ToColorRef(pressed ? settings.embossm : settings.embosss);
  const COLORREF dark = ToColorRef(pressed ? settings.embosss : settings.embossm);
  const int left = face.left + 1;
  const int top = face.top + 1;
  const int right = face.right - 2;
  const int bottom = face.bottom - 2;
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, light);
  DrawLine(dc, left, bottom, left, top);
  DrawLine(dc, left, top, right + 1, top);
  SetDCPenColor(dc, dark);
  DrawLine(dc, left, bottom, right + 1, bottom);
  DrawLine(dc, right, top, right, bottom);
  SelectObject(dc, oldPen);

  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(item.hwndItem, caption.data(), length + 1);
  caption.resize(static_cast<std::size_t>(length));

  RECT captionRect = face;
  if (pressed) {
    OffsetRect(&captionRect, 1, 1);
  }
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  HGDIOBJ oldFont =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? ToColorRef(settings.fcol) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, caption.c_str(), length, &captionRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  if (settings.showf && (item.itemState & ODS_FOCUS) != 0 &&
      (item.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT focus = face;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace zeduzovir
