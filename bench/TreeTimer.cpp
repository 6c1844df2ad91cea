// Starts Tuho.exe and prints the seconds until its group tree has roots
// (or, with --empty, until the main window shows its tree), then closes it.
// Runs inside Wine beside the program, so polling costs no process starts.
//
// usage: TreeTimer PATH_TO_TUHO [--empty]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

HWND findTree(HWND main) { return FindWindowExA(main, nullptr, WC_TREEVIEWA, nullptr); }

bool treeReady(bool empty) {
  HWND main = FindWindowA("Tunehoard", "Tunehoard");
  if (!main || !IsWindowVisible(main)) return false;
  HWND tree = findTree(main);
  if (!tree) return false;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return false;
  return empty || count > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: TreeTimer PATH_TO_TUHO [--empty]\n");
    return 2;
  }
  const bool empty = argc > 2 && std::strcmp(argv[2], "--empty") == 0;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 1;
  }
  double seconds = -1;
  for (int polls = 0; polls < 12000; ++polls) {
    if (treeReady(empty)) {
      QueryPerformanceCounter(&now);
      seconds = static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
      break;
    }
    Sleep(5);
  }
  HWND main = FindWindowA("Tunehoard", "Tunehoard");
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("%.4f\n", seconds);
  return seconds < 0 ? 1 : 0;
}
