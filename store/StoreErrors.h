// What a store tells its owner when its file cannot be opened, read or
// written, and when opening mended a damaged file. The store only reports;
// its owner decides what the user is shown.
#pragma once

#include <cstdint>
#include <string>

namespace tuho {

constexpr int kStoreRead = 100;
constexpr int kStoreWrite = 200;

// Error numbers of reads and writes outside the record write steps.
enum StoreErrorStep {
  kErrOpenReserved = 1001,
  kErrOpenCounter = 1002,
  kErrHeaderSeek = 1301,
  kErrHeaderCounter = 1302,
  kErrHeadMagic = 2401,
  kErrHeadByte20 = 2402,
  kErrHeadByte21 = 2403,
  kErrHeadByte22 = 2404,
  kErrHeadReserved = 2405,
  kErrHeadCounter = 2406,
  kErrDeleteSeek = 3101,
  kErrDeleteFlag = 3102,
};

// One failure, as a value: which file, what went wrong, and for a numbered
// step the operation, step and field it fell in.
struct StoreFailure {
  enum class Kind {
    kOpen,          // the file could not be opened or put in place
    kRead,          // a read failed; nothing was changed
    kStep,          // a numbered read or write step failed
    kDiskFull,      // a write found the disk full
    kMalformed,     // a record that cannot be encoded
    kIdsExhausted,  // every record id has been handed out
  };
  Kind kind = Kind::kStep;
  std::string path;
  uint32_t error = 0;  // the system error, when there is one
  int op = 0;          // kStoreRead or kStoreWrite
  int step = 0;
  int fieldId = 0;
};

// What opening did to a damaged file.
struct StoreRepairNote {
  enum class Kind {
    kHeadRewritten,  // the file head and header record were set aside and written anew
    kSetAside,       // damaged bytes were copied aside and taken out
    kNotSetAside,    // no copy could be made: the file is left as it is, read-only
  };
  Kind kind = Kind::kSetAside;
  std::string path;
  std::string asidePath;
  int64_t bytes = 0;
};

// Told of every failure and repair, on the thread that works the store.
class StoreReporter {
 public:
  virtual void failed(const StoreFailure& failure) = 0;
  virtual void repaired(const StoreRepairNote& note) = 0;
  // A file that could not be created or put in place: true to try again.
  virtual bool retry(const StoreFailure& failure) = 0;

 protected:
  ~StoreReporter() = default;
};

StoreFailure openFailure(const std::string& path, uint32_t error);
StoreFailure readFailure(const std::string& path, uint32_t error);

// Tells nothing and never asks to try again: for a store nobody watches.
StoreReporter& silentStoreReporter();

}  // namespace tuho
