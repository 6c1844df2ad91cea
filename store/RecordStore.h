// One open store file with a single cursor: append, find by id, walk with
// an optional query, delete by flag and rewrite in place. Every lookup walks
// the file from the first data record. A store has no lock; its owner makes
// each operation and each whole walk exclusive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/File.h"
#include "store/FieldList.h"

namespace tuho {

// Results of RecordStore::open.
enum OpenResult { kOpenedExisting = 0, kOpenFailed = 1, kOpenedNew = 2 };

class RecordStore {
 public:
  RecordStore();
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // kOpenedNew: the caller writes the header and then reads the header
  // record. kOpenFailed: a box was shown. A damaged tail is set aside in
  // "<path>.damaged" and cut off.
  OpenResult open(const std::string& path);
  // An empty file (truncating any old one); false with a box shown.
  [[nodiscard]] bool create(const std::string& path);
  // As create, asking Retry/Cancel after each failure; false when the user gave up.
  [[nodiscard]] bool createWithRetry(const std::string& path);
  // File head and header record; false with a box shown.
  [[nodiscard]] bool writeHeader(const FieldList& headerRecord);
  // Reads the counter and the header record; a failure shows its box and
  // closes the file, which every later call then sees.
  void readHeaderRecord();

  // Calls that return an id give 0 when there is none or on failure.
  int append(const FieldList& record);           // id given to the new record
  int appendKeepingId(const FieldList& record);  // the record's own id
  int first();
  int next();
  int findFirstMatching(const FieldList& query);
  int findById(int id);
  bool atEnd() const { return atEnd_; }
  FieldList decodeCurrent();
  // False when there is no live record under the cursor (or with that id),
  // or the write failed (box shown).
  bool deleteCurrent();
  bool deleteById(int id);
  int updateById(const FieldList& record, int id);
  // One step of counting: the next record whatever its deleted flag; false at end.
  bool stepAny();
  // Writes the counter and closes the file; a failure shows in hasFailed().
  void close();

  bool isOpen() const { return file_.isOpen(); }
  int counter() const { return counter_; }
  const FieldList& headerRecord() const { return headerRecord_; }
  const std::string& path() const { return path_; }
  // False when the last walk stopped at a damaged record or a failed read
  // rather than at the end of the file.
  bool walkEndedCleanly() const { return endClean_; }
  // True once a box was shown or a write, seek or flush failed since the
  // file was last opened or created.
  bool hasFailed() const { return failed_; }

 private:
  struct Cursor {
    int64_t offset = -1;  // start of the record under the cursor
    int32_t size = 0;
    int32_t id = 0;
    int32_t deleted = 0;
    bool onLive = false;  // a live record's body has been read
  };
  struct Snapshot {
    Cursor cursor;
    int64_t nextOffset;
    bool queryActive;
    bool atEnd;
  };

  void startOver(const std::string& path);
  bool openOrTell(const std::string& path, Disposition disposition);
  OpenResult readExisting();
  bool repair(int64_t cutAt, int64_t fileSize);
  void resetWalk();
  bool readHeadAt(int64_t offset);
  bool loadBody();
  int advance();
  bool matchesQuery(const FieldList& record) const;
  bool writeRecordAt(FieldList& record, bool atEndOfFile, int64_t offset);
  bool flagDeleted(int64_t offset);
  void failWithBox(int op, int step, int fieldId);
  Snapshot snapshot() const;
  void restore(const Snapshot& saved);

  std::vector<uint8_t> body_;
  File file_;
  std::string path_;
  bool queryActive_ = false;
  FieldList query_;
  int counter_ = 1;
  FieldList headerRecord_;
  int64_t firstDataOffset_ = -1;
  Cursor cursor_;
  int64_t nextOffset_ = -1;  // where the next record head is read
  int64_t bodyOffset_ = -1;  // record whose body is in body_
  bool atEnd_ = false;
  bool endClean_ = true;
  bool failed_ = false;
};

}  // namespace tuho
