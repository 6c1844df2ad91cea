#include "support/TestFiles.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

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
  unsigned long stamp = static_cast<unsigned long>(
      std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFF);
  return "tuho-test-" + std::to_string(pid) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++);
}

}  // namespace

TempDir::TempDir() {
  // A fresh name: process ids repeat (Wine's are small numbers), and a
  // folder left by another run is not ours to remove.
  fs::path base = fs::temp_directory_path();
  fs::path dir;
  std::error_code error;
  do {
    dir = base / uniqueName();
  } while (!fs::create_directories(dir, error) && !error);
  path_ = dir.string();
  while (!path_.empty() && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Windows will not delete read-only files; tests make some on purpose.
  for (fs::recursive_directory_iterator it(fs::path(path_), ignored), end; it != end; it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  }
  fs::remove_all(fs::path(path_), ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + separator() + name; }

ScopedFile::ScopedFile(std::string path) : path_(std::move(path)) { writeBytes(path_, Bytes{'x'}); }

ScopedFile::~ScopedFile() {
  std::error_code ignored;
  fs::remove(fs::path(path_), ignored);
}

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

Bytes songWithId3v1(const SongTag& tag, size_t fillerBytes) {
  Bytes bytes(fillerBytes, 0xFF);
  Bytes block(128, 0);
  auto put = [&](size_t offset, const std::string& text) {
    for (size_t i = 0; i < text.size() && i < 30; ++i) block[offset + i] = static_cast<uint8_t>(text[i]);
  };
  put(0, "TAG");
  put(3, tag.title);
  put(33, tag.artist);
  put(63, tag.album);
  block[126] = static_cast<uint8_t>(tag.track);
  block[127] = static_cast<uint8_t>(tag.genre);
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

std::string corpusFile(const std::string& name) { return hostPath(std::string(TUHO_CORPUS_DIR) + "/" + name); }

std::string sourceFile(const std::string& relative) {
  return hostPath(std::string(TUHO_SOURCE_DIR) + "/" + relative);
}

}  // namespace tuho::test
