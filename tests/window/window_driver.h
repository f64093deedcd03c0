#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "ui/tesgard_button_settings.h"
#include "ui/twips.h"

namespace zeduzovir::testing {

// A picture of a control, in device pixels.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row
  Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A control's font as the window asks for it: the face, the height in layout pixels, the weight.
struct Font {
  std::u16string face;
  int pixels = 0;
  int weight = 0;
  friend bool operator==(const Font&, const Font&) = default;
  friend void PrintTo(const Font& font, std::ostream* os) {
    *os << std::string(font.face.begin(), font.face.end()) << " " << font.pixels << " px "
        << font.weight;
  }
};

// A press by the mouse, or by a key while the control has the focus.
enum class PressWith { Mouse, Space, Enter, Letter };

// What the modal window that a press opened showed.
struct Modal {
  enum class Kind { None, MessageBox, FileDialog } kind = Kind::None;
  std::u16string title;
  std::u16string text;      // a message box's message
  bool icon = false;        // a message box's icon
  int buttons = 0;          // a message box's buttons
  std::u16string fileName;  // the name the file dialog offered
};

// The real window of one front end, driven as a person would: controls are found by name, and
// every press goes through the toolkit's own input handling.
class WindowDriver {
 public:
  virtual ~WindowDriver() = default;

  // What the window showed as it started: a message box telling of files left out, or none.
  virtual Modal ShownAtStart() = 0;
  // The folder the program runs in, as it writes it at the start of an absolute path.
  virtual std::u16string CurrentFolder() = 0;

  // The DPI the window laid itself out for; a toolkit that scales the whole window says 96.
  virtual int LayoutDpi() const = 0;
  // Moves the window to a screen of another DPI, as the system tells a window that lays itself
  // out per screen; false where the toolkit scales the whole window instead.
  virtual bool MoveToScreenOfDpi(int dpi) = 0;
  // The client area, and each control within it, in layout pixels.
  virtual PixelRect ClientRect() = 0;
  virtual PixelRect RectOf(std::string_view control) = 0;
  virtual std::u16string TextOf(std::string_view control) = 0;  // "Form1": the window's title
  virtual std::string FocusedControl() = 0;
  // "Form1" for the window's default font.
  virtual Font FontOf(std::string_view control) = 0;
  // What a screen reader calls a control, and what more it says of it.
  virtual std::u16string AccessibleName(std::string_view control) = 0;
  virtual std::u16string AccessibleDescription(std::string_view control) = 0;
  // The sizes, in pixels, of the window's icon as the desktop gets it.
  virtual std::vector<int> IconSizes() = 0;
  virtual void PressTab() = 0;
  // Puts the text in a box at once, as a paste does; Type() enters it key by key.
  virtual void Paste(std::string_view box, std::u16string_view text) = 0;
  virtual void Type(std::string_view box, std::u16string_view text) = 0;

  // Presses a button and deals with the modal window the press opens. While it is open, clicks
  // into Text5 and types there, as a person would try; then answers it: OK for a message box,
  // and in the file dialog, chooses `choose` or cancels when there is none.
  virtual Modal Press(std::string_view button, PressWith how,
                      std::optional<std::u16string> choose = std::nullopt) = 0;

  // Drops files, by their local paths, on a control.
  virtual void Drop(std::string_view control, const std::vector<std::u16string>& paths) = 0;

  // Switches the desktop to a dark scheme (light text on a dark face) while the window shows, as
  // a person would; the driver puts the colours back when done.
  virtual void UseDarkColours() = 0;
  // A control as shown, or while the mouse holds it down.
  virtual Picture Grab(std::string_view control, bool held) = 0;
  // How wide a control's caption is in its font, in device pixels.
  virtual int CaptionWidth(std::string_view control) = 0;
  // A real file of that name, for the file dialog to choose.
  virtual std::u16string CreateFile(std::u16string_view name) = 0;
};

// Builds and shows the front end's window, as the program does when started with `arguments`
// (UTF-8, the program's name left out); at the end checks that no window outlived it.
std::unique_ptr<WindowDriver> OpenForm1(const std::vector<std::string>& arguments = {});

}  // namespace zeduzovir::testing
