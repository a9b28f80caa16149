#pragma once
// Shared by the two programs bench_startup_pair starts: an application that
// notes when its main window is first painted and then either quits at once
// (mode "exit") or idles a second and reports its memory (mode "idle").
//
// The time runs from TESMIR_BENCH_T0, the parent's CLOCK_MONOTONIC reading
// just before it started this process, so it holds the program's loading,
// its libraries and everything up to the painted window. One line goes to
// standard output: "paint_ns=<n> rss_kb=<n> pss_kb=<n>".
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace startup_probe {

inline long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// One "<key>: <n> kB" line of a /proc file, or -1.
inline long ProcKb(const char* file, const char* key) {
  QFile f(QString::fromLatin1(file));
  if (!f.open(QIODevice::ReadOnly)) {
    return -1;
  }
  const QByteArray wanted = QByteArray(key) + ':';
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith(wanted)) {
      return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
    }
  }
  return -1;
}

class ProbeApplication final : public QApplication {
 public:
  ProbeApplication(int& argc, char** argv) : QApplication(argc, argv) {
    const char* start = std::getenv("TESMIR_BENCH_T0");
    start_ = start != nullptr ? std::atoll(start) : NowNs();
    const char* mode = std::getenv("TESMIR_BENCH_MODE");
    idle_ = mode != nullptr && std::strcmp(mode, "idle") == 0;
  }

  // The window whose first painting is timed.
  void watch(QWidget* window) { window_ = window; }

  bool notify(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    const bool done = QApplication::notify(receiver, event);
    if (paintNs_ < 0 && window_ != nullptr) {
      if (receiver == window_ && type == QEvent::Paint) {
        painted_ = true;
      } else if (painted_ && receiver == window_->windowHandle() &&
                 (type == QEvent::Expose || type == QEvent::UpdateRequest)) {
        // The widgets are painted and the window's surface is flushed.
        paintNs_ = NowNs() - start_;
        QTimer::singleShot(idle_ ? 1000 : 0, this, [this] { finish(); });
      }
    }
    return done;
  }

 private:
  void finish() {
    std::printf("paint_ns=%lld rss_kb=%ld pss_kb=%ld\n", paintNs_, ProcKb("/proc/self/status", "VmRSS"),
                ProcKb("/proc/self/smaps_rollup", "Pss"));
    std::fflush(stdout);
    quit();
  }

  QWidget* window_ = nullptr;
  long long start_ = 0;
  long long paintNs_ = -1;
  bool painted_ = false;
  bool idle_ = false;
};

}  // namespace startup_probe
