// One open file with Win32 semantics: CreateFileA access, sharing and
// disposition, ReadFile/WriteFile results, and last-error numbers. Both
// backends (win32/, posix/) implement this header; the store and the tag
// reader see nothing else of the operating system's files.
#pragma once

#include <cstdint>
#include <string>

namespace tuho {

enum Access : uint32_t { kAccessRead = 1, kAccessWrite = 2, kAccessReadWrite = 3 };
enum Share : uint32_t { kShareNone = 0, kShareRead = 1, kShareWrite = 2, kShareReadWrite = 3 };
enum Disposition { kCreateAlways, kOpenAlways, kOpenExisting, kCreateNew };
enum SeekFrom { kSeekBegin, kSeekCurrent, kSeekEnd };

class File {
 public:
  File() = default;
  ~File() { close(); }
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // CreateFileA. On failure the file stays closed and lastError() says why.
  bool open(const std::string& path, Access access, Share share, Disposition disposition);
  bool isOpen() const;

  // ReadFile: true with *got == 0 at the end of the file; false on failure.
  bool read(void* buffer, uint32_t size, uint32_t* got);
  // WriteFile: true only when every byte was written. On failure *written
  // (when given) says how many bytes reached the file first.
  bool write(const void* buffer, uint32_t size, uint32_t* written = nullptr);
  // SetFilePointerEx; newPosition may be null.
  bool seek(int64_t offset, SeekFrom from, int64_t* newPosition = nullptr);
  bool size(int64_t* bytes);
  // SetEndOfFile at the current position.
  bool truncateHere();
  bool flush();
  // CloseHandle: false (lastError() says why) when the system reported a
  // failure; the file is closed either way.
  bool close();

 private:
  intptr_t handle_ = -1;  // HANDLE on Windows, descriptor on POSIX
  uint32_t access_ = 0;
  uint32_t share_ = 0;
};

// Reads until `size` bytes are in or the file ends; *got says how many came.
// False when a read failed (*got still counts the bytes read before it).
bool readFully(File& file, void* buffer, uint32_t size, uint32_t* got);

// Last error of the calling thread, in Win32 numbering (GetLastError).
uint32_t lastError();
void setLastError(uint32_t code);

}  // namespace tuho
