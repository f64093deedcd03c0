#include "commands/open_files_command.h"

#include <algorithm>
#include <string>

#include "commands/file_rows.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

namespace {

// "N files were left out: REASON."; nothing for none.
std::u16string FilesLeftOut(std::size_t count, std::u16string_view reason) {
  if (count == 0) {
    return {};
  }
  const std::string digits = std::to_string(count);
  return std::u16string(digits.begin(), digits.end()) +
         (count == 1 ? u" file was left out: " : u" files were left out: ") +
         std::u16string(reason) + u".";
}

bool IsEmptyRow(const FileRow& row, const UiServices& ui) {
  return ui.Text(row.textBox).empty();
}

}  // namespace

std::u16string OpenFilesCommand(StartFiles files, UiServices& ui) {
  const auto rows = FileRows();
  std::size_t row = 0;
  std::size_t beyondRows = 0;
  std::size_t notText = 0;
  std::size_t noFolder = 0;
  for (const StartFile& file : files) {
    if (const auto* path = std::get_if<std::u16string>(&file)) {
      while (row < rows.size() && !IsEmptyRow(rows[row], ui)) {
        ++row;
      }
      if (row < rows.size()) {
        ui.SetText(rows[row++].textBox, *path);
      } else {
        ++beyondRows;
      }
    } else {
      ++(*std::get_if<Unshowable>(&file) == Unshowable::NotText ? notText : noFolder);
    }
  }
  std::u16string message;
  for (const std::u16string& part :
       {FilesLeftOut(beyondRows, u"the window has five rows"),
        FilesLeftOut(notText, notText == 1
                                  ? u"its name is not valid text and cannot be shown exactly"
                                  : u"their names are not valid text and cannot be shown exactly"),
        FilesLeftOut(noFolder, u"the current folder cannot be read")}) {
    if (!part.empty()) {
      message += (message.empty() ? u"" : u" ") + part;
    }
  }
  return message;
}

bool FilesFitEmptyRows(StartFiles files, const UiServices& ui) {
  const auto paths = std::count_if(files.begin(), files.end(), [](const StartFile& file) {
    return std::holds_alternative<std::u16string>(file);
  });
  const auto rows = FileRows();
  return paths <= std::count_if(rows.begin(), rows.end(),
                                [&ui](const FileRow& row) { return IsEmptyRow(row, ui); });
}

}  // namespace zeduzovir
