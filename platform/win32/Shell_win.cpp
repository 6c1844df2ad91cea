#include <windows.h>
#include <shellapi.h>

#include "platform/Backend.h"

namespace tuho {

void runShellVerb(const ShellRequest& request) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | (request.quiet ? SEE_MASK_FLAG_NO_UI : 0);
  info.hwnd = reinterpret_cast<HWND>(request.owner);
  info.lpVerb = request.verb.c_str();
  info.lpFile = request.file.c_str();
  info.lpDirectory = request.directory.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&info);
  if (info.hProcess) {
    WaitForInputIdle(info.hProcess, 400);
    CloseHandle(info.hProcess);
  }
  if (request.verb != "Play") return;
  // The settling wait, in steps, so that an interrupt ends it early.
  for (int waited = 0; waited < 2000; waited += 50) {
    if (request.interrupt && request.interrupt->load()) return;
    Sleep(50);
  }
}

}  // namespace tuho
