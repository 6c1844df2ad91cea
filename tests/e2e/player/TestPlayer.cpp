// Stands in for the user's media player in end-to-end runs. The shell starts
// it for the "Play" and "Enqueue" verbs of .mp3 files as
//   TestPlayer.exe VERB "file"
// and it appends one line to a log, then exits:
//   VERB <TAB> full path of the file <TAB> current directory <TAB> argument as received
// The log is the file named by TUHO_PLAYER_LOG, or TestPlayer.log beside the
// program when that variable is not set.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string environmentValue(const char* name) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

std::string logPath() {
  std::string fromEnvironment = environmentValue("TUHO_PLAYER_LOG");
  if (!fromEnvironment.empty()) return fromEnvironment;
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path(module, length < sizeof module ? length : 0);
  size_t slash = path.find_last_of('\\');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "TestPlayer.log";
}

std::string fullPath(const std::string& file) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameA(file.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return file;
  return std::string(buffer, length);
}

std::string currentDirectory() {
  char buffer[MAX_PATH * 2];
  DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

// Appends under an exclusive open, retried, so that players started close
// together (one "Play" and several "Enqueue") never interleave their lines.
bool appendLine(const std::string& path, const std::string& line) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return ok && written == line.size();
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
    Sleep(20);
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string verb = __argc > 1 ? __argv[1] : "";
  std::string file = __argc > 2 ? __argv[2] : "";
  std::string line = verb + "\t" + fullPath(file) + "\t" + currentDirectory() + "\t" + file + "\n";
  return appendLine(logPath(), line) ? 0 : 1;
}
