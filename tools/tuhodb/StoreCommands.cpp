// tuhodb init, dump, check and compact: the store files of a data folder,
// handled by the same code as the program. dump and check read a file as it
// is on disk and never change it.
#include <cstdio>
#include <string>

#include "catalogue/StoreBoxes.h"
#include "platform/Ansi.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "store/CatalogueStore.h"
#include "store/ChainScan.h"
#include "store/RecordCodec.h"
#include "store/SourceList.h"
#include "tools/tuhodb/Commands.h"
#include "tools/tuhodb/Session.h"
#include "tools/tuhodb/Json.h"

namespace tuho::tuhodb {
namespace {

struct FileHead {
  bool complete = false;
  int32_t counter = 0;
};

bool openForReading(File& file, const std::string& path) {
  if (file.open(path, kAccessRead, kShareReadWrite, kOpenExisting)) return true;
  showOpenFailure(path, lastError());
  return false;
}

FileHead readFileHead(File& file) {
  FileHead head;
  uint8_t bytes[kFileHeadBytes];
  uint32_t got = 0;
  if (file.seek(0, kSeekBegin) && readFully(file, bytes, kFileHeadBytes, &got) && got == kFileHeadBytes) {
    head.complete = true;
    head.counter = loadInt(bytes + kCounterOffset);
  }
  return head;
}

std::string fieldJson(const FieldSlot& slot) {
  std::string out = "{\"id\": " + std::to_string(slot.id) + ", \"type\": ";
  if (slot.type == FIELD_TEXT) out += "\"text\"";
  else if (slot.type == FIELD_INT) out += "\"int\"";
  else out += "\"other\"";
  out += ", \"block\": " + std::to_string(slot.blockLength) + ", \"value\": ";
  if (slot.type == FIELD_TEXT) out += jsonString(slot.text);
  else if (slot.type == FIELD_INT) out += std::to_string(slot.value);
  else out += "null";
  return out + "}";
}

std::string recordJson(const ChainRecord& record, const uint8_t* body, size_t length) {
  FieldList fields;
  decodeRecordBody(body, length, &fields);
  std::string out = "{\"offset\": " + std::to_string(record.offset) + ", \"id\": " + std::to_string(record.id) +
                    ", \"deleted\": " + std::to_string(record.deleted) + ", \"size\": " + std::to_string(record.size) +
                    ", \"fields\": [";
  for (int i = 0; i < fields.count; ++i) out += (i ? ", " : "") + fieldJson(fields.slots[i]);
  return out + "]}";
}

std::string damageText(const FileHead& head, const ChainReport& chain) {
  if (!head.complete) return "the file head (31 bytes) is cut off";
  if (chain.readFailed) return "a read failed at offset " + std::to_string(chain.wholeEnd);
  if (chain.fault != kRecordWhole) {
    return std::string(describeRecordFault(chain.fault)) + " at offset " + std::to_string(chain.wholeEnd);
  }
  if (chain.records == 0) return "there is no header record";
  if (!chain.damaged.empty()) {
    return std::to_string(chain.damaged.size()) + " damaged records, the first at offset " +
           std::to_string(chain.damaged.front().offset);
  }
  return "";
}

}  // namespace

int runInit(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tuhodb init DIR\n");
    return 2;
  }
  const std::string& folder = args[0];
  if (!folderExists(folder) && !createFolder(folder)) {
    std::fprintf(stderr, "tuhodb: cannot create the folder %s\n", consoleText(folder).c_str());
    return 1;
  }
  // The catalogue is opened first: it holds the data folder for this program.
  StoreBoxes boxes;
  RecordStore catalogue;
  catalogue.setReporter(&boxes);
  if (openCatalogueStore(catalogue, catalogueStorePath(folder)) == kOpenInUse) return reportInUse(folder);
  bool failed = catalogue.hasFailed();
  if (!fileExists(sourceListPath(folder))) {
    SourceList sources;
    sources.setReporter(&boxes);
    sources.load(folder);
    failed = failed || !fileExists(sourceListPath(folder));
  }
  catalogue.close();
  return failed || catalogue.hasFailed() ? 1 : 0;
}

int runDump(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tuhodb dump FILE\n");
    return 2;
  }
  File file;
  if (!openForReading(file, args[0])) return 1;
  FileHead head = readFileHead(file);
  std::string out = "{\"counter\": " + (head.complete ? std::to_string(head.counter) : std::string("null")) +
                    ", \"records\": [";
  ChainReport chain;
  if (head.complete) {
    std::vector<uint8_t> body(kBodyBufferBytes);
    bool firstRecord = true;
    chain = scanChain(file, kHeaderRecordOffset, body, [&](const ChainRecord& record, const uint8_t* data, size_t length) {
      out += (firstRecord ? "" : ", ") + recordJson(record, data, length);
      firstRecord = false;
    });
  }
  std::printf("%s]}\n", out.c_str());
  std::string damage = damageText(head, chain);
  if (damage.empty() && chain.whole()) return 0;
  std::fprintf(stderr, "tuhodb: %s is damaged: %s\n", consoleText(args[0]).c_str(), damage.c_str());
  return 1;
}

int runCheck(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tuhodb check FILE\n");
    return 2;
  }
  File file;
  if (!openForReading(file, args[0])) return 1;
  FileHead head = readFileHead(file);
  ChainReport chain;
  int live = 0, deleted = 0;
  if (head.complete) {
    std::vector<uint8_t> body(kBodyBufferBytes);
    chain = scanChain(file, kHeaderRecordOffset, body, [&](const ChainRecord& record, const uint8_t*, size_t) {
      if (record.offset == kHeaderRecordOffset) return;
      (record.deleted ? deleted : live) += 1;
    });
  }
  std::string damage = damageText(head, chain);
  if (damage.empty() && chain.whole()) {
    std::printf("whole: %d data records (%d live, %d deleted), counter %d, %lld bytes\n", live + deleted, live,
                deleted, head.counter, static_cast<long long>(chain.fileSize));
    return 0;
  }
  std::printf("damaged: %s; %d whole records end at offset %lld of %lld bytes\n", damage.c_str(), chain.records,
              static_cast<long long>(chain.wholeEnd), static_cast<long long>(chain.fileSize));
  return 1;
}

int runCompact(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tuhodb compact DIR\n");
    return 2;
  }
  const std::string& folder = args[0];
  const std::string path = catalogueStorePath(folder);
  if (!fileExists(path)) {
    std::fprintf(stderr, "tuhodb: there is no catalogue in %s\n", consoleText(folder).c_str());
    return 1;
  }
  StoreBoxes boxes;
  RecordStore catalogue;
  catalogue.setReporter(&boxes);
  const int opened = openCatalogueStore(catalogue, path);
  if (opened == kOpenInUse) return reportInUse(folder);
  if (opened == kOpenFailed) return 1;
  const int count = countRecords(catalogue);
  if (count < kCompactionThreshold) {
    catalogue.close();
    std::printf("closed: %d records, below %d, not compacted\n", count, kCompactionThreshold);
    return catalogue.hasFailed() ? 1 : 0;
  }
  if (!compact(catalogue, path, temporaryStorePath(folder))) {
    std::printf("not compacted: %d records; the catalogue was kept as it was\n", count);
    return 1;
  }
  std::printf("compacted: %d records\n", count);
  return 0;
}

}  // namespace tuho::tuhodb
