// Small verbs for the store tests: track-like records, a catalogue in a
// fresh folder, and reading back what a walk or the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Alert.h"
#include "store/FieldList.h"
#include "store/RecordStore.h"
#include "support/BoxedStores.h"
#include "support/TestFiles.h"

namespace tuho::test {

// A record with the ten fields of a track, in their order.
FieldList trackRecord(const std::string& title, int sourceId = 7, const std::string& artist = "Artist");

// A new catalogue store ("Tuho.dat") in a folder of its own.
struct Catalogue {
  TempDir dir;
  BoxedStore store;
  Catalogue();
  std::string path() const { return dir.file("Tuho.dat"); }
  int add(const std::string& title, int sourceId = 7, const std::string& artist = "Artist");
  Bytes bytes() const { return readBytes(path()); }
};

// Ids of the records a full walk returns.
std::vector<int> walkIds(RecordStore& store);
// Ids of the records a query walk returns.
std::vector<int> queryIds(RecordStore& store, const FieldList& query);
// Titles (field 327) of a full walk.
std::vector<std::string> walkTitles(RecordStore& store);

int32_t intAt(const Bytes& bytes, size_t offset);
void putInt(Bytes& bytes, size_t offset, int32_t value);
void appendInt(Bytes& bytes, int32_t value);
// Offsets of every record of the file, header record first.
std::vector<size_t> recordOffsets(const Bytes& bytes);

// True when some recorded box has this caption and a text starting with
// `start`.
bool sawBox(const AlertSink& sink, const std::string& caption, const std::string& start);
// The text of the store's numbered error box: "Error op:step:field" and the rest.
std::string errorHead(int op, int step, int fieldId);

}  // namespace tuho::test
