#include "ui/win32/dpi_functions.h"

#include "ui/win32/system_function.h"

namespace zeduzovir {

namespace {

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

DpiFunctions DpiFunctions::Lookup() {
  DpiFunctions found;
  found.m_getDpiForWindow =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  found.m_systemParametersInfoForDpi = SystemFunction<SystemParametersInfoForDpiFunction>(
      L"user32.dll", "SystemParametersInfoForDpi");
  return found;
}

int DpiFunctions::DpiOf(HWND window) const {
  return m_getDpiForWindow != nullptr ? static_cast<int>(m_getDpiForWindow(window)) : SystemDpi();
}

LOGFONTW DpiFunctions::MessageFont(int dpi) const {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (m_systemParametersInfoForDpi != nullptr) {
    m_systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                 static_cast<UINT>(dpi));
    return metrics.lfMessageFont;
  }
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
  return metrics.lfMessageFont;
}

}  // namespace zeduzovir
