// Starts programs on the X server in $DISPLAY and measures, for each, the time from process
// start until its window is mapped and its peak memory (VmHWM) at that moment. The programs are
// run in turn, round after round, so that they share whatever the machine is doing.
//   startup_probe ROUNDS PROGRAM...
// Prints, per program: startup_ms=<median> peak_kib=<median> program=<path>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long WindowPid(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) {
    return -1;
  }
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && count == 1) {
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data != nullptr) {
    XFree(data);
  }
  return pid;
}

long PeakKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::atol(line.c_str() + 6);
    }
  }
  return -1;
}

struct Sample {
  double millis;
  long peakKib;
};

bool Measure(Display* display, const char* program, Sample& sample) {
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  bool mapped = false;
  while (!mapped && Clock::now() - start < std::chrono::seconds(30)) {
    if (XPending(display) == 0) {
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, 100);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && WindowPid(display, event.xmap.window) == pid) {
      sample.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      sample.peakKib = PeakKib(pid);
      mapped = true;
    }
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return mapped;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_probe ROUNDS PROGRAM...\n");
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[1]));
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "startup_probe: cannot open the display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const int programs = argc - 2;
  std::vector<std::vector<double>> millis(programs);
  std::vector<std::vector<long>> peaks(programs);
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < programs; ++i) {
      // Alternate which program goes first, so neither always follows the other.
      const int p = (round % 2 == 0) ? i : programs - 1 - i;
      Sample sample{};
      if (!Measure(display, argv[2 + p], sample)) {
        std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[2 + p]);
        return 1;
      }
      millis[p].push_back(sample.millis);
      peaks[p].push_back(sample.peakKib);
    }
  }
  for (int p = 0; p < programs; ++p) {
    std::printf("startup_ms=%.1f peak_kib=%ld program=%s\n", Median(millis[p]), Median(peaks[p]),
                argv[2 + p]);
  }
  XCloseDisplay(display);
  return 0;
}
