#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <array>
#include <functional>
#include <vector>

#include "commands/open_files_command.h"
#include "ui/form1_layout.h"
#include "ui/win32/dpi_functions.h"
#include "ui/win32/gdi_object.h"
#include "ui/win32/open_file_dialog.h"
#include "ui/win32/tesgard_button.h"
#include "ui_services/control_id.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

// The main window on plain Win32, built from the window table. It routes each button press to
// the core's commands and serves them as their UiServices.
class Form1Window final : public UiServices {
 public:
  using HighContrastQuery = bool (*)();

  // Every Form1 window has this class, in whichever process: a start finds them by it.
  static constexpr wchar_t kClassName[] = L"Zeduzovir.Form1";

  // `onDestroyed` runs when the window goes; the program ends its message loop there.
  Form1Window(HINSTANCE instance, std::function<void()> onDestroyed = {},
              DpiFunctions dpiFunctions = DpiFunctions::Lookup(),
              HighContrastQuery highContrast = &HighContrastIsOn);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Fills the empty rows with files given at start; tells of any left out once the window shows.
  void OpenFiles(StartFiles files);

  HWND hwnd() const { return m_hwnd; }
  HWND control(ControlId id) const { return m_controls[IndexOf(id)]; }
  int dpi() const { return m_dpi; }

  void ShowMessage(std::u16string_view text, MessageIcon icon) override;
  std::optional<std::u16string> PickFileToOpen() override;
  std::u16string Text(ControlId textBox) const override;
  void SetText(ControlId textBox, std::u16string_view text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnActivate(bool active);
  void OnCommand(int id, int notification);
  void OnDropFiles(HDROP drop);
  bool OnFilesHandedOver(const COPYDATASTRUCT& data);
  void ComeToFront();
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  LRESULT OnCtlColorStatic(HDC dc);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnColoursChanged();
  void OnTellFilesLeftOut();
  void OnDestroy();

  void CreateControls();
  void CreateFonts();
  void LayOut();
  SIZE WindowSizeForClientArea() const;
  void PressFocusedButton();

  HINSTANCE m_instance;
  std::function<void()> m_onDestroyed;
  HWND m_hwnd = nullptr;
  int m_dpi = USER_DEFAULT_SCREEN_DPI;
  std::array<HWND, kControlCount> m_controls{};
  HWND m_focusedControl = nullptr;
  struct SharedFont {
    FontSpec kind;
    UniqueFont font;
  };
  DpiFunctions m_dpiFunctions;
  HighContrastQuery m_highContrast;
  // One font for each different font of the table, for all the controls that show it.
  std::vector<SharedFont> m_fonts;
  OpenFileDialog m_commonDialog1;
  std::u16string m_filesLeftOut;
};

}  // namespace zeduzovir
