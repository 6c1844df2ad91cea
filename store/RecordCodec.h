// The bytes of a store file: the file head, the record head and the field
// blocks, and the checks that keep a damaged file from being read out of
// bounds. Decoding never trusts a length it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/FieldList.h"

namespace tuho {

constexpr int kFileHeadBytes = 31;         // magic, three format bytes, reserved int, counter
constexpr int kFirstHeadByteRead = 22;     // a file too short to hold it counts as new
constexpr int kReservedOffset = 23;
constexpr int kCounterOffset = 27;
constexpr int kHeaderRecordOffset = 31;
constexpr int kRecordHeadBytes = 12;       // size, id, deleted flag
constexpr int kMinRecordSize = 8;          // a record with no fields
constexpr size_t kBodyBufferBytes = 1048576;
extern const char kStoreMagic[21];         // "BRAMBLEWARD DATABASE"

// What can be wrong with one record of a store file.
enum RecordFault {
  kRecordWhole = 0,
  kRecordHeadTorn,       // fewer than 12 bytes left for the record head
  kRecordSizeTooSmall,   // record size below 8
  kRecordTooLarge,       // body larger than the body buffer
  kRecordPastEnd,        // body runs past the end of the file
  kFieldOutsideRecord,   // a field block runs outside its record
  kFieldDataTooLong,     // a data length does not fit its block
  kTooManyFields,        // more than 16 fields
};
const char* describeRecordFault(RecordFault fault);

int32_t loadInt(const uint8_t* bytes);
void storeInt(uint8_t* bytes, int32_t value);

// Checks the body of a record (the size - 8 bytes after its head) and, when
// `out` is given and the body is whole, decodes its fields into it. The
// caller fills in size, id and deleted flag.
RecordFault decodeRecordBody(const uint8_t* body, size_t length, FieldList* out);

// The first field with `fieldId` in a body that decodeRecordBody accepted,
// read in place; type is FIELD_NONE when the body has no such field.
struct RawField {
  int type = FIELD_NONE;
  int id = 0;
  const uint8_t* data = nullptr;
  int32_t dataLength = 0;
  int32_t intValue() const { return loadInt(data); }
  // Equal to the text decoding gives: the data up to its first zero byte.
  bool textEquals(const std::string& text) const;
  // The text decoding gives, as a view of the body.
  std::string_view text() const;
};
RawField findRawField(const uint8_t* body, size_t length, int fieldId);
// The first `most` fields of such a body in file order, read in place; the count.
int readRawFields(const uint8_t* body, size_t length, RawField* fields, int most);

// A list that can be written so that every field takes exactly its block
// length + 4 bytes and the body fits the body buffer.
bool isWritableRecord(const FieldList& list);

// The steps of writing a record, numbered as the error boxes report them.
enum WriteStep {
  kStepBlockLength = 2101,
  kStepType = 2102,
  kStepFieldId = 2103,
  kStepDataLength = 2104,
  kStepText = 2105,
  kStepPadding = 2106,
  kStepIntValue = 2107,
  kStepRecordSize = 2201,
  kStepRecordId = 2202,
  kStepDeletedFlag = 2203,
};

// One step of writing a record: `size` bytes, of which the first
// `dataSize` come from `data` and the rest are zeros.
struct WritePiece {
  int step = 0;
  int fieldId = 0;
  uint32_t size = 0;
  const uint8_t* data = nullptr;
  uint32_t dataSize = 0;
  bool malformed = false;  // the zero-filled block of a field of neither type
};

// The steps of writing a record, in file order: the record head (size as
// given, id, deleted 0), then each field. Expects isWritableRecord.
void forEachWritePiece(const FieldList& list, const std::function<void(const WritePiece&)>& visit);

// The bytes of the record in `out` (reusing its storage); true when a field
// of neither type was zero-filled and must be reported.
bool encodeRecord(const FieldList& list, std::vector<uint8_t>& out);

// The step and field id a write of the record fell in when only the first
// `written` bytes reached the file.
WritePiece writeStepAt(const FieldList& list, uint32_t written);

// The bytes encodeRecord writes, in one buffer.
std::vector<uint8_t> encodeRecordBytes(const FieldList& list);

}  // namespace tuho
