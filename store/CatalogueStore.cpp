#include "store/CatalogueStore.h"

#include "platform/FileSystem.h"
#include "store/FieldIds.h"
#include "store/StoreErrors.h"

namespace tuho {

const char kStoreName[] = "Jukebin";

std::string catalogueStorePath(const std::string& dataFolder) { return dataFolder + "\\Tuho.dat"; }

std::string temporaryStorePath(const std::string& dataFolder) { return dataFolder + "\\TuhoTemp.dat"; }

std::string catalogueInUseText(const std::string& dataFolder) {
  return "the catalogue in " + dataFolder + " is in use by another program";
}

FieldList catalogueHeaderRecord() {
  FieldList header;
  header.addText(FLD_STORE_NAME, kStoreName);
  header.addInt(FLD_STORE_FORMAT, 1);
  header.addInt(FLD_STORE_FLAGS, 0);
  header.addInt(FLD_CATALOGUE_A, 0);
  header.addInt(FLD_CATALOGUE_B, 0);
  header.computeSize();
  return header;
}

OpenResult openCatalogueStore(RecordStore& store, const std::string& path) {
  store.setFreshHeader(catalogueHeaderRecord());
  OpenResult result = store.open(path);
  if (result == kOpenedNew && store.writeHeader(catalogueHeaderRecord())) store.readHeaderRecord();
  return result;
}

int countRecords(RecordStore& store) {
  if (store.first() == 0) return 0;
  int count = 0;
  while (!store.atEnd()) {
    store.stepAny();
    ++count;
  }
  return count;
}

Closing closeCatalogueStore(RecordStore& store, const std::string& dataFolder) {
  // Compaction only removes deleted records: without any, or in a session
  // that wrote nothing, it would rewrite the file byte for byte. A read-only
  // store keeps its damage where it is, for a later start to set aside.
  const bool worthCounting = !store.readOnly() && store.wroteSinceOpen() && store.deletedRecords() > 0;
  const int count = worthCounting ? countRecords(store) : 0;
  if (worthCounting && !store.walkComplete()) {
    if (store.isOpen()) store.reporter().failed(readFailure(store.path(), store.walkError()));
    store.close();
    return Closing::kFailed;
  }
  if (count < kCompactionThreshold) {
    store.close();
    return store.hasFailed() ? Closing::kFailed : Closing::kClosed;
  }
  if (compact(store, catalogueStorePath(dataFolder), temporaryStorePath(dataFolder))) return Closing::kCompacted;
  return Closing::kFailed;
}

namespace {

// Writes every live record of `store` into `temporary`; true when the walk
// reached the end of the file and every write succeeded.
bool copyLiveRecords(RecordStore& store, RecordStore& temporary) {
  store.readHeaderRecord();
  if (!store.isOpen() || !temporary.writeHeader(store.headerRecord())) return false;
  temporary.readHeaderRecord();
  for (store.first(); !store.atEnd(); store.next()) {
    FieldList record = store.decodeCurrent();
    if (temporary.appendKeepingId(record) == 0) return false;
  }
  if (!store.walkEndedCleanly() && store.walkError() != 0) {
    store.reporter().failed(readFailure(store.path(), store.walkError()));
  }
  return store.walkEndedCleanly() && !temporary.hasFailed() && !store.hasFailed();
}

}  // namespace

bool compact(RecordStore& store, const std::string& cataloguePath, const std::string& temporaryPath) {
  bool complete = false;
  // Ids of records deleted now are never handed out again.
  const int counter = store.counter();
  {
    RecordStore temporary;
    temporary.setReporter(&store.reporter());
    if (temporary.create(temporaryPath)) {
      complete = copyLiveRecords(store, temporary);
      temporary.raiseCounter(counter);
      temporary.close();  // writes the counter and flushes
      complete = complete && !temporary.hasFailed();
    }
  }
  store.close();
  // A catalogue that failed to close has told so; it is kept as it is.
  complete = complete && !store.hasFailed();
  if (complete && replaceFile(temporaryPath, cataloguePath)) return true;
  if (complete) store.reporter().failed(openFailure(cataloguePath, lastError()));
  deleteFile(temporaryPath);
  return false;
}

}  // namespace tuho
