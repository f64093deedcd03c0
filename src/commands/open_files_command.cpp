#include "commands/open_files_command.h"

#include <string>

#include "commands/file_rows.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

namespace {

std::u16string FilesLeftOut(std::size_t count) {
  const std::string digits = std::to_string(count);
  return std::u16string(digits.begin(), digits.end()) +
         (count == 1 ? u" file was left out" : u" files were left out");
}

}  // namespace

std::u16string OpenFilesCommand(StartFiles files, UiServices& ui) {
  const auto rows = FileRows();
  std::size_t filled = 0;
  std::size_t unreadable = 0;
  for (const std::optional<std::u16string>& file : files) {
    if (!file) {
      ++unreadable;
    } else if (filled < rows.size()) {
      ui.SetText(rows[filled++].textBox, *file);
    }
  }
  const std::size_t beyondRows = files.size() - unreadable - filled;
  std::u16string message;
  if (beyondRows > 0) {
    message = FilesLeftOut(beyondRows) + u": the window has five rows.";
  }
  if (unreadable > 0) {
    message += (message.empty() ? u"" : u" ") + FilesLeftOut(unreadable) +
               (unreadable == 1 ? u": its name is not valid text and cannot be shown exactly."
                                : u": their names are not valid text and cannot be shown exactly.");
  }
  return message;
}

}  // namespace zeduzovir
