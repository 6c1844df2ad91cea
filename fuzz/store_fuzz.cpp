// Opens arbitrary bytes as a store file and walks it every way the program
// does: full walk with decoding, lookups by id, a query, a rewrite, reads at
// the offsets an observer is told of (reading their fields in place), and
// the read-only chain reader of the inspection tools.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/StoreBoxes.h"
#include "platform/Alert.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"
#include "store/RecordStore.h"

namespace {

// A memory-backed folder when there is one: the store flushes on every close.
std::string scratchPath() {
  const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/store_fuzz_" + std::to_string(getpid()) + ".dat";
}

// Reads every field of every record it is told of, in place.
class FieldReader : public tuho::RecordObserver {
 public:
  std::vector<int64_t> offsets;
  void restart() override { offsets.clear(); }
  void inStep() override {}
  void expectBytes(int64_t) override {}
  void recordLive(int64_t offset, int32_t, const uint8_t* body, size_t length) override {
    offsets.push_back(offset);
    tuho::RawField fields[tuho::kMaxRecordFields];
    const int count = tuho::readRawFields(body, length, fields, tuho::kMaxRecordFields);
    for (int i = 0; i < count; ++i) textBytes += fields[i].text().size();
  }
  void recordGone(int64_t) override {}
  size_t textBytes = 0;
};

void writeInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void scanReadOnly(const std::string& path) {
  tuho::File file;
  if (!file.open(path, tuho::kAccessRead, tuho::kShareReadWrite, tuho::kOpenExisting)) return;
  // Reused across inputs: a fresh megabyte per input would cost more than the run.
  static std::vector<uint8_t> body(tuho::kBodyBufferBytes);
  tuho::scanChain(file, tuho::kHeaderRecordOffset, body, [](const tuho::ChainRecord&, const uint8_t* data, size_t length) {
    tuho::FieldList fields;
    tuho::decodeRecordBody(data, length, &fields);
  });
}

void walkStore(tuho::RecordStore& store, const std::string& path) {
  static FieldReader reader;
  store.setObserver(&reader);
  if (store.open(path) != tuho::kOpenedExisting) return;
  const std::vector<int64_t> told = reader.offsets;
  for (int64_t offset : told) {
    if (store.readAt(offset) != 0) store.decodeCurrent();
  }
  store.readAt(-1);
  store.readAt(INT64_MAX / 2);
  std::vector<int> ids;
  int steps = 0;
  for (int id = store.first(); id != 0 && !store.atEnd() && steps < 10000; id = store.next(), ++steps) {
    tuho::FieldList record = store.decodeCurrent();
    ids.push_back(record.id);
  }
  for (int id : ids) store.findById(id);
  store.findById(0x7fffffff);
  tuho::FieldList query;
  query.addInt(1200, 7);
  query.addText(328, "Artist");
  for (int id = store.findFirstMatching(query); id != 0 && steps < 20000; id = store.next(), ++steps) {
    store.decodeCurrent();
  }
  if (!ids.empty()) {
    tuho::FieldList record;
    record.addText(327, "a longer title than before, to move it");
    store.updateById(record, ids.front());
  }
  store.close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tuho::AlertSink sink;
  const std::string path = scratchPath();
  writeInput(path, data, size);
  scanReadOnly(path);
  // The boxes' texts are made from what the store reports: they run too.
  static tuho::StoreBoxes boxes;
  static tuho::RecordStore store;
  store.setReporter(&boxes);
  walkStore(store, path);
  store.close();
  tuho::deleteFile(path);
  // Set-aside copies are numbered; one open can leave a head and a tail.
  tuho::deleteFile(path + ".damaged");
  for (int number = 2; tuho::deleteFile(path + ".damaged." + std::to_string(number)); ++number) {
  }
  return 0;
}
