// Small verbs for tests that work on real files: a temporary folder that
// cleans up after itself, whole-file reads and writes, corpus paths. Paths
// are in the form the program uses on the system at hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tuho::test {

using Bytes = std::vector<uint8_t>;

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + separator + name
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// A small file that exists for the life of the object (a file a program
// expects beside itself, for one test); removed again at the end.
class ScopedFile {
 public:
  explicit ScopedFile(std::string path);
  ~ScopedFile();
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;

 private:
  std::string path_;
};

Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);
int64_t fileSize(const std::string& path);  // -1 when missing
bool exists(const std::string& path);

// The ID3v1 values of a generated song.
struct SongTag {
  std::string title;
  std::string artist;
  std::string album;
  int genre = 255;  // genre byte; 255 is none
  int track = 0;
};
// A small MP3 stand-in: filler where the audio would be, then an ID3v1 tag.
Bytes songWithId3v1(const SongTag& tag, size_t fillerBytes = 256);

// A file of the shared corpus of real MP3/ID3 files.
std::string corpusFile(const std::string& name);
// A file of this source tree.
std::string sourceFile(const std::string& relative);

}  // namespace tuho::test
