// Starts the real Zeduzovir.exe as Explorer does for files chosen together, once for each, and
// checks where the files land: in a window already open when they fit its empty rows, else in
// a window of the start's own. Every start is ended with its case.
//   starts_gather_tests PROGRAM   (under Wine)

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/file_rows.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/start_files_hand_over.h"
#include "ui/win32/start_gate.h"
#include "ui/win32/win32_control_ids.h"

namespace zeduzovir::testing {
namespace {

using Rows = std::vector<std::wstring>;

std::wstring g_program;

const Rows kFiles{L"C:\\pictures\\one.jpgxaBrint",   L"C:\\pictures\\two.jpgxaBrint",
                  L"C:\\pictures\\three.jpgxaBrint", L"C:\\pictures\\four.jpgxaBrint",
                  L"C:\\pictures\\five.jpgxaBrint",  L"C:\\pictures\\six.jpgxaBrint"};

struct Visible {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindVisibleForm1(HWND window, LPARAM param) {
  auto& wanted = *reinterpret_cast<Visible*>(param);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == wanted.process && IsWindowVisible(window) &&
      std::wstring_view(name) == Form1Window::kClassName) {
    wanted.window = window;
  }
  return wanted.window == nullptr;
}

// One start of the program, in `folder` when given; ended with the case if it still runs.
class Start {
 public:
  explicit Start(const Rows& files, const wchar_t* folder = nullptr) {
    std::wstring commandLine = L"\"" + g_program + L"\"";
    for (const std::wstring& file : files) {
      commandLine += L" \"" + file + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    EXPECT_TRUE(CreateProcessW(g_program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, folder, &startup, &m_process));
  }
  ~Start() {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, INFINITE);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
  Start(const Start&) = delete;
  Start& operator=(const Start&) = delete;

  // The window it shows, or nullptr once it has ended: whichever comes first.
  HWND Window() {
    Visible found{m_process.dwProcessId, nullptr};
    for (ULONGLONG deadline = GetTickCount64() + 60000; GetTickCount64() < deadline;) {
      EnumWindows(&FindVisibleForm1, reinterpret_cast<LPARAM>(&found));
      if (found.window != nullptr || WaitForSingleObject(m_process.hProcess, 20) == WAIT_OBJECT_0) {
        return found.window;
      }
    }
    ADD_FAILURE() << "a start neither showed a window nor ended";
    return nullptr;
  }

  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION m_process{};
};

HWND Box(HWND window, ControlId textBox) {
  return GetDlgItem(window, Win32ControlId(textBox));
}

// Read from the other process as a screen reader would.
Rows RowsOf(HWND window) {
  Rows rows;
  for (const FileRow& row : FileRows()) {
    wchar_t text[MAX_PATH] = {};
    SendMessageW(Box(window, row.textBox), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
    rows.push_back(text);
  }
  return rows;
}

Rows Padded(Rows rows) {
  rows.resize(FileRows().size());
  return rows;
}

TEST(StartsGather, ThreeStartsAtOnceFillOneWindow) {
  Start one({kFiles[0]}), two({kFiles[1]}), three({kFiles[2]});
  std::vector<HWND> windows;
  for (Start* start : {&one, &two, &three}) {
    if (HWND window = start->Window()) {
      windows.push_back(window);
    } else {
      EXPECT_EQ(start->ExitCode(), 0u) << "a start that joined failed";
    }
  }
  ASSERT_EQ(windows.size(), 1u) << "windows opened for three files";
  // Each fills the next empty row as it arrives; which start arrives first is the system's.
  Rows rows = RowsOf(windows[0]);
  std::sort(rows.begin(), rows.begin() + 3);
  Rows expected{kFiles.begin(), kFiles.begin() + 3};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, Padded(expected));
}

// A start that took the gate and hangs holds the next one up for a while, not for ever.
TEST(StartsGather, AStartThatHangsHoldsNoOtherUpForEver) {
  HANDLE gate = CreateMutexW(nullptr, TRUE, kStartGateName);
  Start start({kFiles[0]});
  EXPECT_NE(start.Window(), nullptr);
  ReleaseMutex(gate);
  CloseHandle(gate);
}

struct LaterStartCase {
  const char* name;
  Rows first;                  // the files of the start that opens the window
  Rows typed;                  // then typed into its rows, where not empty
  bool browsing;               // then its first Browse pressed, its file dialog left open
  Rows later;                  // the files of a later start
  const wchar_t* laterFolder;  // where the later start is made
  bool joins;                  // the later start's files go to the open window
  Rows firstRows;              // the open window's rows then
};

TEST(StartsGather, ALaterStartJoinsOnlyWhenItsFilesFitTheEmptyRows) {
  // A case a paragraph.
  // clang-format off
  for (const LaterStartCase& c : {
           LaterStartCase{"files fill the empty rows around typed ones", {},
                          {L"typed", L"", L"C:\\typed.txt", L"", L" "}, false,
                          {kFiles[0], kFiles[1]}, nullptr, true,
                          {L"typed", kFiles[0], L"C:\\typed.txt", kFiles[1], L" "}},
           {"five files fill an empty window", {}, {}, false,
            {kFiles[0], kFiles[1], kFiles[2], kFiles[3], kFiles[4]}, nullptr, true,
            {kFiles[0], kFiles[1], kFiles[2], kFiles[3], kFiles[4]}},
           {"a relative name is made full where it was given", {kFiles[0]}, {}, false,
            {L"seven.jpgxaBrint"}, L"C:\\windows", true,
            {kFiles[0], L"C:\\windows\\seven.jpgxaBrint", L"", L"", L""}},
           {"files beyond the empty rows open a window", {kFiles[0], kFiles[1], kFiles[2]}, {},
            false, {kFiles[3], kFiles[4], kFiles[5]}, nullptr, false,
            {kFiles[0], kFiles[1], kFiles[2], L"", L""}},
           {"a start with no files opens a window", {kFiles[0]}, {}, false, {}, nullptr, false,
            {kFiles[0], L"", L"", L"", L""}},
           // The dialog's answer could replace a file it took.
           {"a window showing its file dialog takes none", {}, {}, true, {kFiles[0]}, nullptr,
            false, {L"", L"", L"", L"", L""}},
       }) {
    // clang-format on
    SCOPED_TRACE(c.name);
    Start first(c.first);
    HWND window = first.Window();
    ASSERT_NE(window, nullptr);
    for (std::size_t i = 0; i < c.typed.size(); ++i) {
      if (!c.typed[i].empty()) {
        SendMessageW(Box(window, FileRows()[i].textBox), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(c.typed[i].c_str()));
      }
    }
    if (c.browsing) {
      PostMessageW(GetDlgItem(window, Win32ControlId(FileRows()[0].browseButton)), BM_CLICK, 0, 0);
      for (ULONGLONG deadline = GetTickCount64() + 60000;
           IsWindowEnabled(window) && GetTickCount64() < deadline;) {
        Sleep(20);
      }
      ASSERT_FALSE(IsWindowEnabled(window)) << "no file dialog opened";
    }
    ShowWindow(window, SW_MINIMIZE);
    Start later(c.later, c.laterFolder);
    HWND own = later.Window();
    EXPECT_EQ(own == nullptr, c.joins);
    EXPECT_EQ(IsIconic(window) == FALSE, c.joins) << "the window that takes files comes back";
    EXPECT_EQ(RowsOf(window), c.firstRows);
    if (own == nullptr) {
      EXPECT_EQ(later.ExitCode(), 0u);
    } else {
      EXPECT_EQ(RowsOf(own), Padded(c.later));
    }
  }
}

struct MessageCase {
  const char* name;
  ULONG_PTR tag;
  std::wstring data;
  std::size_t bytes;  // how many of its bytes are sent
};

DWORD_PTR Send(HWND window, ULONG_PTR tag, const std::wstring& data, std::size_t bytes) {
  COPYDATASTRUCT message{tag, DWORD(bytes), const_cast<wchar_t*>(data.data())};
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message), SMTO_BLOCK, 10000,
                      &answer);
  return answer;
}

// Any program may send a window WM_COPYDATA: only a start's hand-over fills a row.
TEST(StartsGather, AMessageThatIsNoStartsHandOverFillsNothing) {
  Start first({kFiles[0]});
  HWND window = first.Window();
  ASSERT_NE(window, nullptr);
  const std::wstring path(L"C:\\other.txt\0", 13);
  const std::size_t all = path.size() * sizeof(wchar_t);
  for (const MessageCase& c : {
           MessageCase{"another tag", kStartFilesTag + 1, path, all},
           {"an odd number of bytes", kStartFilesTag, path, all - 1},
           {"no closing NUL", kStartFilesTag, path, all - 2},
           {"nothing", kStartFilesTag, path, 0},
           {"an empty name", kStartFilesTag, path + L'\0', all + 2},
           {"a relative name", kStartFilesTag, L"other.txt", 20},
           {"a name relative to a drive's folder", kStartFilesTag, L"C:other.txt", 24},
           {"a name Windows would shorten", kStartFilesTag, L"C:\\pictures\\..\\other.txt", 52},
           {"more names than rows", kStartFilesTag, path + path + path + path + path + path,
            6 * all},
       }) {
    EXPECT_EQ(Send(window, c.tag, c.data, c.bytes), 0u) << c.name;
    EXPECT_EQ(RowsOf(window), Padded({kFiles[0]})) << c.name;
  }
  // The cases came close: with the start's tag and a full path, a message is a hand-over.
  EXPECT_EQ(Send(window, kStartFilesTag, path, all), DWORD_PTR{TRUE});
  EXPECT_EQ(RowsOf(window), Padded({kFiles[0], L"C:\\other.txt"}));
}

}  // namespace
}  // namespace zeduzovir::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: starts_gather_tests PROGRAM\n");
    return 2;
  }
  // A Unix path, as the build names it, made into one Windows can start.
  wchar_t program[MAX_PATH] = {};
  MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, program, MAX_PATH);
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(program, MAX_PATH, full, nullptr);
  zeduzovir::testing::g_program = full;
  return RUN_ALL_TESTS();
}
