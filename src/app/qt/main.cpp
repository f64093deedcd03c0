#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ui/qt/command_line.h"
#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  using zeduzovir::CommandLine;
  const std::unique_ptr<char, decltype(&std::free)> folder(getcwd(nullptr, 0), &std::free);
  const CommandLine line =
      zeduzovir::ReadCommandLine({argv + 1, static_cast<std::size_t>(argc - 1)}, folder.get());
  switch (line.action) {
    case CommandLine::Action::PrintHelp:
      std::fputs(zeduzovir::kUsage, stdout);
      return 0;
    case CommandLine::Action::PrintVersion:
      std::puts("zeduzovir " ZEDUZOVIR_VERSION_TEXT);
      return 0;
    case CommandLine::Action::RefuseOption:
      std::fprintf(stderr, "zeduzovir: unknown option '%s' (see zeduzovir --help)\n",
                   line.refusedOption.c_str());
      return 2;
    case CommandLine::Action::OpenWindow:
      break;
  }

  // The toolkit sees none of the arguments: every one was ours to read.
  int toolkitArgc = 1;
  QApplication app(toolkitArgc, argv);
  QApplication::setApplicationVersion(QStringLiteral(ZEDUZOVIR_VERSION_TEXT));
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZEDUZOVIR_APP_ID));
  zeduzovir::Form1 window;
  window.OpenFiles(line.files);
  window.show();
  return QApplication::exec();
}
