// One open store file with a single cursor: append, find by id, walk with
// an optional query, delete by flag and rewrite in place. A lookup by id
// reads the one record its locator names, and otherwise walks the file from
// the first data record. A store has no lock; its owner makes
// each operation and each whole walk exclusive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/File.h"
#include "store/ChainScan.h"
#include "store/FieldList.h"
#include "store/ReadWindow.h"
#include "store/RecordLocator.h"
#include "store/RecordObserver.h"
#include "store/StoreErrors.h"

namespace tuho {

// Results of RecordStore::open.
// kOpenInUse: another program (or another open in this one) holds the
// file; nothing was reported and nothing was touched.
enum OpenResult { kOpenedExisting = 0, kOpenFailed = 1, kOpenedNew = 2, kOpenInUse = 3 };

// Ids only grow; at the top of the range a store takes no new record.
constexpr int kHighestRecordId = 0x7FFFFFFF;

class RecordStore {
 public:
  RecordStore();
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // kOpenedNew: the file was empty or too short to hold a record; the
  // caller writes the header and then reads the header record.
  // kOpenFailed: the file could not be opened or read (reported, the file
  // is closed and nothing was written). kOpenInUse: another program
  // holds the file. The file is held until closed: others may read it, none
  // may write it or open it as a store. Damaged records and a damaged tail
  // are copied into a new "<path>.damaged" (numbered when one exists) and
  // taken out; when no copy can be made the store is read-only. Of two live
  // records with one id (a move cut short) the later is kept.
  OpenResult open(const std::string& path);
  // An empty file (truncating any old one); false when that failed (reported).
  [[nodiscard]] bool create(const std::string& path);
  // As create, asking the reporter after each failure whether to try
  // again; false when it gave up.
  [[nodiscard]] bool createWithRetry(const std::string& path);
  // File head and header record; false when a write failed (reported).
  [[nodiscard]] bool writeHeader(const FieldList& headerRecord);
  // Reads the counter and the header record; false when that failed
  // (reported, and the file closed, which every later call then sees).
  bool readHeaderRecord();

  // Calls that return an id give 0 when there is none or on failure.
  int append(const FieldList& record);           // id given to the new record
  int appendKeepingId(const FieldList& record);  // the record's own id
  int first();
  int next();
  int findFirstMatching(const FieldList& query);
  int findById(int id);
  // The live record that starts at `offset` (one an observer was told of),
  // under the cursor with its body read; its id, or 0 at end.
  int readAt(int64_t offset);
  bool atEnd() const { return atEnd_; }
  FieldList decodeCurrent();
  // False when there is no live record under the cursor (or with that id),
  // or the write failed (reported).
  bool deleteCurrent();
  bool deleteById(int id);
  int updateById(const FieldList& record, int id);
  // Makes a record's new fields from its stored ones (whose id is set);
  // false leaves the record as it is.
  using RecordChange = std::function<bool(const FieldList& stored, FieldList* changed)>;
  // Rewrites the live records with these ids, each as updateById would, with
  // at most three flushes for the whole batch however many records it holds
  // (none when every record changes within one disk sector), and the
  // promise of a single rewrite for each of them: a failure or a power cut at
  // any point leaves every record once, old or new. The ids rewritten, in the
  // order given; an id with no live record, given again, or whose change
  // declined is left out. None when a read or a write failed (reported; a
  // failed read writes nothing, and the walk state tells of it).
  std::vector<int> rewriteMany(const std::vector<int>& ids, const RecordChange& change);
  // The ids once each, in the order of their records in the file as far as
  // the track index knows it (ids it does not know last).
  std::vector<int> inFileOrder(const std::vector<int>& ids) const;
  // One step of counting: the next record whatever its deleted flag; false at end.
  bool stepAny();
  // Writes the counter and closes the file; a failure shows in hasFailed().
  void close();

  bool isOpen() const { return file_.isOpen(); }
  int counter() const { return counter_; }
  // The header record that opening writes anew when the file's own is
  // damaged, so that the records after it can be kept.
  void setFreshHeader(const FieldList& header) { freshHeader_ = header; }
  const FieldList& headerRecord() const { return headerRecord_; }
  const std::string& path() const { return path_; }
  // False when the last walk stopped at a damaged record or a failed read
  // rather than at the end of the file.
  bool walkEndedCleanly() const { return endClean_; }
  // True when the last walk saw every live record: it ended cleanly, or at
  // the damage of a store left read-only (told when it was opened).
  bool walkComplete() const { return endClean_ || (readOnly_ && walkError_ == 0); }
  // The error of the read that ended the last walk, 0 when none failed.
  uint32_t walkError() const { return walkError_; }
  // True once a failure was reported or a write, seek or flush failed since
  // the file was last opened or created.
  bool hasFailed() const { return failed_; }
  // True once anything was written since the file was opened or created.
  bool wroteSinceOpen() const { return wrote_; }
  // Records flagged deleted, as found at opening plus those flagged since.
  int deletedRecords() const { return deletedRecords_; }
  // True when damage could not be set aside: nothing is written behind it.
  bool readOnly() const { return readOnly_; }
  // The counter never falls below `floor` (the ids a file handed out before).
  void raiseCounter(int floor) {
    if (floor > counter_) counter_ = floor;
  }
  // Not owned; told of every failure and every repair at opening. Until
  // one is set, nothing is told.
  void setReporter(StoreReporter* reporter) { reporter_ = reporter ? reporter : &silentStoreReporter(); }
  StoreReporter& reporter() const { return *reporter_; }
  // Not owned; told of the live records from the next open or create on.
  void setObserver(RecordObserver* observer) { observer_ = observer; }
  // Not owned; asked first by every lookup by id (and so by updateById and
  // deleteById). A record it names is read and its id checked.
  void setLocator(const RecordLocator* locator) { locator_ = locator; }
  // Walks of the file started since the store was made: first(),
  // findFirstMatching() and each lookup by id the locator could not answer.
  int walksStarted() const { return walksStarted_; }

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

  // What opening reads of the file head.
  struct Head {
    enum State { kNew, kUnreadable, kRead } state = kNew;
    bool complete = false;  // all 31 bytes are there
    int32_t counter = 1;
    int failedStep = 0;  // the numbered read that failed, 0 when none
  };
  struct LiveRecord {
    int32_t id;
    int64_t offset;
  };

  void startOver(const std::string& path);
  bool openOrTell(const std::string& path, Disposition disposition);
  OpenResult readExisting(bool mayRescueHead = true);
  Head readHead();
  ChainReport scanRecords(int32_t* highestId, std::vector<LiveRecord>* live);
  OpenResult openDamagedHead(const Head& head, bool mayRescueHead);
  OpenResult settleChain(const ChainReport& chain, int32_t highestId, std::vector<LiveRecord>& live);
  OpenResult failToRead();
  OpenResult abandonFile();
  // Repairs at opening (StoreRepair.cpp).
  bool rescueHead(int32_t storedCounter);
  bool settleDuplicates(std::vector<LiveRecord>& live);
  struct Range {
    int64_t offset;
    int64_t length;
  };
  bool repair(const ChainReport& chain);
  bool restartDamagedFile();
  bool blankRecord(const ChainRecord& record);
  bool copyAside(const std::vector<Range>& ranges, std::string* asidePath);
  bool refusesWrites();
  void resetWalk();
  bool readHeadAt(int64_t offset);
  bool loadBody();
  int advance();
  bool matchesQuery() const;
  const FieldList& decoded();
  void encodeForWrite(const FieldList& record, int id);
  bool writeRecordAt(const FieldList& record, int id, bool atEndOfFile, int64_t offset);
  bool changesOneSector(int64_t offset) const;
  static bool fitOver(FieldList& record, int storedSize);
  // A rewrite of a batch (RewriteBatch.cpp).
  struct PlannedRewrite {
    int id;
    int64_t offset;  // of the stored record
    FieldList record;
    enum Way { kMove, kOneSector, kGuarded, kUnguarded } way;
  };
  bool planRewrite(int id, const RecordChange& change, std::vector<PlannedRewrite>* plan);
  bool appendAhead(std::vector<PlannedRewrite>& plan, int64_t* standIns);
  bool writeBehind(const std::vector<PlannedRewrite>& plan);
  bool dropStandIns(int64_t standIns);
  enum StandIn { kStandInWritten, kStandInFailed, kNoRoom };
  StandIn appendStandIn(int64_t* end);
  bool rewriteInPlace(const FieldList& record, int id, int64_t offset);
  bool flagDeleted(int64_t offset);
  bool flushWrites();
  void failAt(int op, int step, int fieldId);
  void report(StoreFailure::Kind kind);
  void tellRepair(StoreRepairNote::Kind kind, const std::string& asidePath, int64_t bytes);
  void tellRestart();
  void tellInStep();
  void tellLive(int64_t offset, int32_t id, const uint8_t* body, size_t length);
  Snapshot snapshot() const;
  void restore(const Snapshot& saved);

  uint8_t* bodyOf(size_t length);  // body_ with room for `length` bytes
  std::vector<uint8_t> body_;
  std::vector<uint8_t> encoded_;  // the record being written
  File file_;
  ReadWindow window_{file_};
  std::string path_;
  bool queryActive_ = false;
  FieldList query_;
  int counter_ = 1;
  FieldList headerRecord_;
  FieldList freshHeader_;
  int64_t firstDataOffset_ = -1;
  Cursor cursor_;
  int64_t nextOffset_ = -1;  // where the next record head is read
  int64_t bodyOffset_ = -1;     // record whose body is in body_
  bool bodyDecoded_ = false;    // current_ holds it decoded
  FieldList current_;
  bool atEnd_ = false;
  bool endClean_ = true;
  uint32_t walkError_ = 0;
  bool failed_ = false;
  bool wrote_ = false;
  int deletedRecords_ = 0;
  bool readOnly_ = false;
  StoreReporter* reporter_ = &silentStoreReporter();
  RecordObserver* observer_ = nullptr;
  const RecordLocator* locator_ = nullptr;
  int walksStarted_ = 0;
};

}  // namespace tuho
