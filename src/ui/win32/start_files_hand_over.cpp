#include "ui/win32/start_files_hand_over.h"

#include <array>
#include <string>
#include <string_view>

#include "ui/win32/command_line_files.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/win32_text.h"

namespace zeduzovir {

namespace {

// No window takes more files than it has rows.
constexpr std::size_t kMostFiles = 5;
// Longer than a window takes to come to its message loop on a loaded machine.
constexpr UINT kLongestAnswer = 10000;

struct Offer {
  COPYDATASTRUCT data;
  bool taken;
};

BOOL CALLBACK OfferTo(HWND window, LPARAM param) {
  auto& offer = *reinterpret_cast<Offer*>(param);
  wchar_t name[std::size(Form1Window::kClassName) + 1] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  if (std::wstring_view(name) != Form1Window::kClassName) {
    return TRUE;
  }
  // This start may come to the front, as the person's action started it; it lets the window it
  // joins come instead.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = FALSE;
  offer.taken = SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&offer.data),
                                    SMTO_ABORTIFHUNG, kLongestAnswer, &answer) != 0 &&
                answer == TRUE;
  return !offer.taken;
}

}  // namespace

bool HandFilesToOpenWindow(StartFiles files) {
  if (files.size() > kMostFiles) {
    return false;
  }
  std::u16string paths;
  for (const StartFile& file : files) {
    const auto* path = std::get_if<std::u16string>(&file);
    if (path == nullptr) {
      return false;
    }
    paths.append(path->c_str(), path->size() + 1);
  }
  Offer offer{{kStartFilesTag, static_cast<DWORD>(paths.size() * sizeof(char16_t)), paths.data()},
              false};
  EnumWindows(&OfferTo, reinterpret_cast<LPARAM>(&offer));
  return offer.taken;
}

std::vector<StartFile> HandedOverFiles(const COPYDATASTRUCT& data) {
  const auto* units = static_cast<const wchar_t*>(data.lpData);
  const std::size_t count = data.cbData / sizeof(wchar_t);
  if (data.dwData != kStartFilesTag || units == nullptr || count == 0 ||
      data.cbData % sizeof(wchar_t) != 0 || units[count - 1] != L'\0') {
    return {};
  }
  std::array<const wchar_t*, kMostFiles> names{};
  std::size_t named = 0;
  for (const wchar_t* at = units; at < units + count; at += std::wstring_view(at).size() + 1) {
    if (named == names.size()) {
      return {};
    }
    names[named++] = at;
  }
  // Each name must come back as it went in: a full path, which no folder changes.
  std::vector<StartFile> files = CommandLineFiles({names.data(), named});
  for (std::size_t i = 0; i < named; ++i) {
    const auto* path = i < files.size() ? std::get_if<std::u16string>(&files[i]) : nullptr;
    if (path == nullptr || ToWide(*path) != names[i]) {
      return {};
    }
  }
  return files;
}

}  // namespace zeduzovir
