// Opening the catalogue store at start-up and closing it at the end, when a
// catalogue of 100 or more records is rewritten without its deleted records.
#pragma once

#include <string>

#include "store/FieldList.h"
#include "store/RecordStore.h"

namespace tuho {

constexpr int kCompactionThreshold = 100;

std::string catalogueStorePath(const std::string& dataFolder);   // "<folder>\Tuho.dat"
std::string temporaryStorePath(const std::string& dataFolder);   // "<folder>\TuhoTemp.dat"
FieldList catalogueHeaderRecord();
// "the catalogue in DIR is in use by another program"
std::string catalogueInUseText(const std::string& dataFolder);

// Opens the store, writing the file head and header record of a new one.
// Returns the result of RecordStore::open.
OpenResult openCatalogueStore(RecordStore& store, const std::string& path);
// The first live record and every record after it, live or deleted.
int countRecords(RecordStore& store);
enum class Closing { kClosed, kCompacted, kFailed };
// Closes the store, compacting it first when it holds enough records, some
// of them deleted, and the session wrote something. kFailed when the close
// could not write, flush or close the file, or the compaction failed (the
// catalogue file then stays as it was).
Closing closeCatalogueStore(RecordStore& store, const std::string& dataFolder);
// Copies the live records into the temporary store and, only when that copy
// is complete and on disk, puts it in place of the catalogue file. On any
// failure the catalogue file stays as it was and the temporary file is
// removed. The store is closed afterwards. True when replaced.
bool compact(RecordStore& store, const std::string& cataloguePath, const std::string& temporaryPath);

}  // namespace tuho
