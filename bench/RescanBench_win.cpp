// A rescan of a folder of unchanged tagged files through the real main
// window and its worker, against the walk alone: the catalogue's own rescan
// of the same source with no window. The window's rescan is timed from the
// request to the moment the job's end reaches the window and tells the
// progress dialog to close, and again once the window has answered it (the
// tree rebuilt for the groups the source may have changed). Wine with no
// window manager (Xvfb) takes about 2 s to hide any dialog, which says
// nothing of the work: the dialog's own disappearance is printed apart.
// Runs under Wine with a display.
//
// usage: rescan_bench [FILES]      (6,000 by default)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "bench/WindowBenchSupport_win.h"
#include "catalogue/Catalogue.h"
#include "catalogue/TrackFiles.h"
#include "catalogue/win32/ThreadMessages.h"
#include "ui/MainWindow.h"
#include "ui/WorkerLink.h"

namespace {

using Clock = std::chrono::steady_clock;
using tuho::bench::pump;
using tuho::bench::seconds;

constexpr int kSongsPerAlbum = 100;

std::string bigEndian(uint32_t value, bool syncSafe) {
  const int shift = syncSafe ? 7 : 8;
  std::string bytes(4, '\0');
  for (int i = 3; i >= 0; --i) {
    bytes[static_cast<size_t>(i)] = static_cast<char>(value & ((1u << shift) - 1));
    value >>= shift;
  }
  return bytes;
}

// An ID3v2.3 text frame in ISO-8859-1.
std::string textFrame(const char* id, const std::string& text) {
  const std::string body = std::string(1, '\0') + text;
  return std::string(id, 4) + bigEndian(static_cast<uint32_t>(body.size()), false) + std::string(2, '\0') + body;
}

// A small real MP3: an ID3v2.3 tag with five text frames, then two silent
// MPEG-1 layer III frames (128 kbit/s, 44.1 kHz).
std::string songBytes(int number) {
  const int album = number / kSongsPerAlbum;
  const std::string frames = textFrame("TIT2", "Song " + std::to_string(number)) +
                             textFrame("TPE1", "Artist " + std::to_string(album % 37)) +
                             textFrame("TALB", "Album " + std::to_string(album)) + textFrame("TCON", "Rock") +
                             textFrame("TRCK", std::to_string(number % kSongsPerAlbum + 1));
  std::string bytes =
      std::string("ID3\x03\x00\x00", 6) + bigEndian(static_cast<uint32_t>(frames.size()), true) + frames;
  for (int i = 0; i < 2; ++i) bytes += std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\0');
  return bytes;
}

std::filesystem::path writeSongs(const std::filesystem::path& folder, int count) {
  for (int i = 0; i < count; ++i) {
    std::filesystem::path album = folder / ("Album " + std::to_string(i / kSongsPerAlbum));
    if (i % kSongsPerAlbum == 0) std::filesystem::create_directories(album);
    std::ofstream(album / (std::to_string(i) + " Song.mp3"), std::ios::binary) << songBytes(i);
  }
  return folder;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// When the progress dialog is told to close and when it is destroyed (a
// hook on the messages sent on this thread): Wine's wait for the hiding
// lies between the two.
struct DialogClose {
  static HWND mainWindow;
  static HWND dialog;
  static Clock::time_point told, destroyed;
  static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd != mainWindow) {
      if (sent->message == tuho::TMSG_JOB_DONE) {
        dialog = sent->hwnd;
        told = Clock::now();
      } else if (sent->message == WM_DESTROY && sent->hwnd == dialog) {
        destroyed = Clock::now();
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};
HWND DialogClose::mainWindow = nullptr;
HWND DialogClose::dialog = nullptr;
Clock::time_point DialogClose::told, DialogClose::destroyed;

// One rescan through the window, its messages pumped here as the program's
// loop would.
struct WindowRescan {
  double opened = 0;      // the progress dialog is up and the request posted
  double endReached = 0;  // the job's end reached the window: the dialog is told to close
  double answered = 0;    // the window has handled the end (the tree rebuilt), less Wine's hiding
  double dialogGone = 0;  // the dialog is gone (Wine's hiding included)
  int progressNotices = 0;
};

WindowRescan rescanThroughWindow(tuho::MainWindow& window, tuho::SourceRef* source) {
  WindowRescan run;
  const Clock::time_point start = Clock::now();
  auto since = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  if (!window.startJob(tuho::kJobRescanSource, tuho::IdList(), source)) return run;
  run.opened = since();
  while (window.jobRunning()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      const bool end = message.hwnd == window.window() && message.message == tuho::TMSG_JOB_DONE;
      if (end) run.endReached = since();
      if (message.hwnd == window.window() && message.message == tuho::TMSG_PROGRESS_COUNT) ++run.progressNotices;
      // Hooked only while the end is handled: a hook slows every message.
      HHOOK hook = end ? SetWindowsHookExA(WH_CALLWNDPROC, &DialogClose::hook, nullptr, GetCurrentThreadId()) : nullptr;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (hook) UnhookWindowsHookEx(hook);
      if (end) {
        run.answered = since() - std::chrono::duration<double>(DialogClose::destroyed - DialogClose::told).count();
      }
    }
  }
  run.dialogGone = since();
  pump();
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  tuho::bench::initControls();
  const int files = argc > 1 ? std::max(100, std::atoi(argv[1])) : 6000;
  tuho::bench::BenchCatalogue bench("tuho-rescan-bench");
  tuho::Catalogue& catalogue = bench.catalogue();
  const std::filesystem::path folder = writeSongs(bench.root() / "songs", files);
  tuho::Location location = tuho::splitLocation(folder.string());
  tuho::SourceRef entry;
  entry.root = location.root;
  entry.folder = location.folder;
  entry.name = "Songs";
  entry.mediaType = tuho::MediaType::kLocalFolder;
  tuho::SourceRef* source = bench.sources().entry(bench.sources().add(entry));
  catalogue.scanSource(*source, false, tuho::JobEvents());
  std::printf("%d tagged files, %d tracks catalogued\n", files, catalogue.countTracks(tuho::TrackFilter()));

  tuho::MainWindow window;
  window.create(GetModuleHandleA(nullptr), SW_SHOWNORMAL, &catalogue, &bench.sources());
  tuho::WorkerLink worker;
  if (!worker.start(window, catalogue)) {
    std::printf("no worker thread\n");
    return 1;
  }
  for (int i = 0; i < 20; ++i) {
    pump();
    Sleep(10);
  }
  DialogClose::mainWindow = window.window();
  // Each rescan through the window right after a walk alone, so that both
  // see the same load on the machine; the ratios are taken per pair.
  constexpr int kRuns = 5;
  std::vector<double> walks, opens, ends, answers, gones, endRatios, answerRatios;
  int notices = 0;
  for (int i = 0; i < kRuns; ++i) {
    const double walk = seconds([&] { catalogue.scanSource(*source, true, tuho::JobEvents()); });
    walks.push_back(walk);
    WindowRescan run = rescanThroughWindow(window, source);
    endRatios.push_back(run.endReached / walk);
    answerRatios.push_back(run.answered / walk);
    opens.push_back(run.opened);
    ends.push_back(run.endReached);
    answers.push_back(run.answered);
    gones.push_back(run.dialogGone);
    notices = std::max(notices, run.progressNotices);
  }
  worker.stop(10000);
  const double walk = median(walks);
  std::printf(
      "walk alone %.3f s (%.1f us/file); rescan through the window: the dialog was up after %.3f s, its end "
      "reached the window after %.3f s = %.2fx the walk, the window had answered it after %.3f s = %.2fx (Wine's "
      "hiding of the dialog left out); the dialog was gone after %.3f s (Wine's hiding included); at most %d "
      "progress notices read (medians of %d pairs)\n",
      walk, walk * 1e6 / files, median(opens), median(ends), median(endRatios), median(answers), median(answerRatios),
      median(gones), notices, kRuns);
  return catalogue.countTracks(tuho::TrackFilter()) == files ? 0 : 1;
}
