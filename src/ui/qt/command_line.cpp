#include "ui/qt/command_line.h"

#include <QStringDecoder>
#include <string_view>

#include "ui/qt/qt_text.h"

namespace zeduzovir {

namespace {

// The name exactly as its bytes spell it in UTF-8.
StartFile DecodeExactly(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (decoder.hasError()) {
    return Unshowable::NotText;
  }
  return ToU16String(text);
}

StartFile AbsolutePath(std::string_view name, const char* currentFolder) {
  if (name.starts_with('/')) {
    return DecodeExactly(name);
  }
  while (name.starts_with("./")) {
    name.remove_prefix(2);
  }
  if (currentFolder == nullptr) {
    return Unshowable::NoCurrentFolder;
  }
  std::string path(currentFolder);
  if (!path.ends_with('/')) {
    path += '/';
  }
  return DecodeExactly(path.append(name));
}

// A terminal would obey control bytes, and a direction control would reorder the line.
std::string Printable(std::string_view bytes) {
  std::string shown;
  for (const char byte : bytes) {
    const auto unit = static_cast<unsigned char>(byte);
    if (unit >= 0x20 && unit < 0x7F) {
      shown += byte;
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      shown += {'\\', 'x', kHex[unit >> 4], kHex[unit & 0xF]};
    }
  }
  return shown;
}

}  // namespace

const char kUsage[] =
    "Usage: zeduzovir [OPTION]... [--] [FILE]...\n"
    "Show the names of files marked with xaBrint, and restore the first one's.\n"
    "Each FILE fills the next of the five rows; no file is opened or changed.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         take every argument after it as a FILE\n";

CommandLine ReadCommandLine(std::span<const char* const> arguments, const char* currentFolder) {
  CommandLine line;
  bool options = true;
  for (const std::string_view argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && argument.size() > 1 && argument.starts_with('-')) {
      if (argument == "--help" || argument == "--version") {
        line.action = argument == "--help" ? CommandLine::Action::PrintHelp
                                           : CommandLine::Action::PrintVersion;
      } else {
        line.action = CommandLine::Action::RefuseOption;
        line.refusedOption = Printable(argument);
      }
      return line;
    } else if (!argument.empty()) {
      line.files.push_back(AbsolutePath(argument, currentFolder));
    }
  }
  return line;
}

}  // namespace zeduzovir
