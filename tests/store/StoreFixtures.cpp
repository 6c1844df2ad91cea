#include "StoreFixtures.h"

#include "store/CatalogueStore.h"
#include "store/RecordCodec.h"

namespace tuho::test {

FieldList trackRecord(const std::string& title, int sourceId, const std::string& artist) {
  FieldList record;
  record.addText(301, title + ".mp3");
  record.addInt(1200, sourceId);
  record.addText(303, "\\Music");
  record.addText(327, title);
  record.addText(328, artist);
  record.addText(329, "Album");
  record.addText(330, "Rock");
  record.addText(331, "1");
  record.addText(332, "");
  record.addInt(1100, 0);
  record.computeSize();
  return record;
}

Catalogue::Catalogue() { openCatalogueStore(store, path()); }

int Catalogue::add(const std::string& title, int sourceId, const std::string& artist) {
  return store.append(trackRecord(title, sourceId, artist));
}

std::vector<int> walkIds(RecordStore& store) {
  std::vector<int> ids;
  for (int id = store.first(); id != 0 && !store.atEnd(); id = store.next()) ids.push_back(id);
  return ids;
}

std::vector<int> queryIds(RecordStore& store, const FieldList& query) {
  std::vector<int> ids;
  for (int id = store.findFirstMatching(query); id != 0 && !store.atEnd(); id = store.next()) ids.push_back(id);
  return ids;
}

std::vector<std::string> walkTitles(RecordStore& store) {
  std::vector<std::string> titles;
  for (store.first(); !store.atEnd(); store.next()) titles.push_back(store.decodeCurrent().findField(327).text);
  return titles;
}

int32_t intAt(const Bytes& bytes, size_t offset) { return loadInt(bytes.data() + offset); }

void putInt(Bytes& bytes, size_t offset, int32_t value) { storeInt(bytes.data() + offset, value); }

void appendInt(Bytes& bytes, int32_t value) {
  uint8_t raw[4];
  storeInt(raw, value);
  bytes.insert(bytes.end(), raw, raw + 4);
}

std::vector<size_t> recordOffsets(const Bytes& bytes) {
  std::vector<size_t> offsets;
  for (size_t offset = kHeaderRecordOffset; offset + kRecordHeadBytes <= bytes.size();
       offset += 4 + static_cast<size_t>(intAt(bytes, offset))) {
    offsets.push_back(offset);
  }
  return offsets;
}

bool sawBox(const AlertSink& sink, const std::string& caption, const std::string& start) {
  for (const AlertRecord& box : sink.records()) {
    if (box.caption == caption && box.text.compare(0, start.size(), start) == 0) return true;
  }
  return false;
}

std::string errorHead(int op, int step, int fieldId) {
  return "Error " + std::to_string(op) + ":" + std::to_string(step) + ":" + std::to_string(fieldId) + "\n\n";
}

}  // namespace tuho::test
