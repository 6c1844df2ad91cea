#include "support/TestFiles.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tuho::test {
namespace fs = std::filesystem;

namespace {

// Tests cross-compiled for Windows see Linux paths through Wine's Z: drive.
std::string hostPath(const std::string& unixPath) {
#ifdef _WIN32
  std::string out = "Z:" + unixPath;
  for (char& c : out) if (c == '/') c = '\\';
  return out;
#else
  return unixPath;
#endif
}

char separator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string uniqueName() {
  static std::atomic<int> counter{0};
#ifdef _WIN32
  unsigned long pid = GetCurrentProcessId();
#else
  unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  return "tuho-test-" + std::to_string(pid) + "-" + std::to_string(counter++);
}

}  // namespace

TempDir::TempDir() {
  fs::path dir = fs::temp_directory_path() / uniqueName();
  fs::remove_all(dir);
  fs::create_directories(dir);
  path_ = dir.string();
  while (!path_.empty() && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(fs::path(path_), ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + separator() + name; }

Bytes readBytes(const std::string& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int64_t fileSize(const std::string& path) {
  std::error_code error;
  auto size = fs::file_size(fs::path(path), error);
  return error ? -1 : static_cast<int64_t>(size);
}

bool exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

std::string corpusFile(const std::string& name) { return hostPath(std::string(TUHO_CORPUS_DIR) + "/" + name); }

std::string sourceFile(const std::string& relative) {
  return hostPath(std::string(TUHO_SOURCE_DIR) + "/" + relative);
}

}  // namespace tuho::test
