#include "store/RecordCodec.h"

#include <algorithm>
#include <cstring>

namespace tuho {

const char kStoreMagic[21] = "BRAMBLEWARD DATABASE";

const char* describeRecordFault(RecordFault fault) {
  switch (fault) {
    case kRecordWhole: return "whole";
    case kRecordHeadTorn: return "record head cut off by the end of the file";
    case kRecordSizeTooSmall: return "record size below 8";
    case kRecordTooLarge: return "record body larger than the body buffer";
    case kRecordPastEnd: return "record runs past the end of the file";
    case kFieldOutsideRecord: return "field block runs outside its record";
    case kFieldDataTooLong: return "data length does not fit its block";
    case kTooManyFields: return "more than 16 fields";
  }
  return "unknown fault";
}

int32_t loadInt(const uint8_t* bytes) {
  uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                   static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return static_cast<int32_t>(value);
}

void storeInt(uint8_t* bytes, int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

namespace {

// One field at `pos`; advances pos past its block.
RecordFault decodeField(const uint8_t* body, size_t length, size_t& pos, FieldSlot* slot) {
  if (length - pos < 4) return kFieldOutsideRecord;
  int32_t block = loadInt(body + pos);
  if (block < kFieldHeadBytes || static_cast<size_t>(block) > length - pos - 4) return kFieldOutsideRecord;
  const uint8_t* head = body + pos + 4;
  int32_t type = loadInt(head);
  int32_t dataLength = loadInt(head + 8);
  if (dataLength < 0 || dataLength > block - kFieldHeadBytes) return kFieldDataTooLong;
  if (type == FIELD_INT && block < kIntBlockLength) return kFieldDataTooLong;
  if (slot) {
    *slot = FieldSlot();
    slot->blockLength = block;
    slot->type = type;
    slot->id = loadInt(head + 4);
    slot->dataLength = dataLength;
    const uint8_t* data = head + kFieldHeadBytes;
    if (type == FIELD_TEXT) {
      const uint8_t* stop = std::find(data, data + dataLength, 0);
      slot->text.assign(reinterpret_cast<const char*>(data), static_cast<size_t>(stop - data));
    } else if (type == FIELD_INT) {
      slot->value = loadInt(data);
    }
  }
  pos += 4 + static_cast<size_t>(block);
  return kRecordWhole;
}

}  // namespace

RecordFault decodeRecordBody(const uint8_t* body, size_t length, FieldList* out) {
  if (out) out->release();
  size_t pos = 0;
  int count = 0;
  while (pos < length) {
    RecordFault fault =
        count == kMaxRecordFields ? kTooManyFields : decodeField(body, length, pos, out ? &out->slots[count] : nullptr);
    if (fault != kRecordWhole) {
      if (out) out->release();
      return fault;
    }
    ++count;
    if (out) out->count = count;
  }
  return kRecordWhole;
}

namespace {

// The block length of the field at `pos`, or 0 when no whole field starts there.
int32_t rawBlockAt(const uint8_t* body, size_t length, size_t pos) {
  if (length - pos < 4 + kFieldHeadBytes) return 0;
  const int32_t block = loadInt(body + pos);
  if (block < kFieldHeadBytes || static_cast<size_t>(block) > length - pos - 4) return 0;
  return block;
}

// The field whose block (after its length) starts at `head`; a field whose
// lengths do not fit its block reads as FIELD_NONE.
RawField rawFieldAt(const uint8_t* head, int32_t block) {
  RawField field;
  field.type = loadInt(head);
  field.id = loadInt(head + 4);
  field.dataLength = loadInt(head + 8);
  field.data = head + kFieldHeadBytes;
  if (field.dataLength < 0 || field.dataLength > block - kFieldHeadBytes ||
      (field.type == FIELD_INT && block < kIntBlockLength)) {
    field.type = FIELD_NONE;
    field.dataLength = 0;
  }
  return field;
}

}  // namespace

RawField findRawField(const uint8_t* body, size_t length, int fieldId) {
  for (size_t pos = 0;;) {
    const int32_t block = rawBlockAt(body, length, pos);
    if (block == 0) return RawField();
    if (loadInt(body + pos + 8) == fieldId) return rawFieldAt(body + pos + 4, block);
    pos += 4 + static_cast<size_t>(block);
  }
}

int readRawFields(const uint8_t* body, size_t length, RawField* fields, int most) {
  int count = 0;
  for (size_t pos = 0; count < most;) {
    const int32_t block = rawBlockAt(body, length, pos);
    if (block == 0) break;
    fields[count++] = rawFieldAt(body + pos + 4, block);
    pos += 4 + static_cast<size_t>(block);
  }
  return count;
}

std::string_view RawField::text() const {
  if (type != FIELD_TEXT) return std::string_view();
  const uint8_t* stop = std::find(data, data + dataLength, 0);
  return std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(stop - data));
}

bool RawField::textEquals(const std::string& text) const {
  const size_t size = text.size();
  if (type != FIELD_TEXT || static_cast<size_t>(dataLength) < size) return false;
  if (std::memchr(text.data(), 0, size) != nullptr || std::memcmp(data, text.data(), size) != 0) return false;
  return static_cast<size_t>(dataLength) == size || data[size] == 0;
}

bool isWritableRecord(const FieldList& list) {
  if (list.count < 0 || list.count > kMaxRecordFields) return false;
  for (int i = 0; i < list.count; ++i) {
    const FieldSlot& slot = list.slots[i];
    if (slot.blockLength < kFieldHeadBytes) return false;
    if (slot.type == FIELD_INT && slot.blockLength < kIntBlockLength) return false;
    if (slot.dataLength < 0 || slot.dataLength > slot.blockLength - kFieldHeadBytes) return false;
  }
  return recordSizeOf(list) - kMinRecordSize <= static_cast<long long>(kBodyBufferBytes);
}

namespace {

using PieceVisitor = std::function<void(const WritePiece&)>;

void visitInt(const PieceVisitor& visit, int32_t value, int step, int fieldId) {
  uint8_t bytes[4];
  storeInt(bytes, value);
  WritePiece piece;
  piece.step = step;
  piece.fieldId = fieldId;
  piece.size = 4;
  piece.data = bytes;
  piece.dataSize = 4;
  visit(piece);
}

void visitBytes(const PieceVisitor& visit, int size, const std::string* text, int step, int fieldId,
                bool malformed = false) {
  if (size <= 0) return;
  WritePiece piece;
  piece.step = step;
  piece.fieldId = fieldId;
  piece.size = static_cast<uint32_t>(size);
  if (text) {
    // A decoded text stops at a zero byte; the rest of its data is zeros.
    piece.data = reinterpret_cast<const uint8_t*>(text->data());
    piece.dataSize = static_cast<uint32_t>(std::min(text->size(), static_cast<size_t>(size)));
  }
  piece.malformed = malformed;
  visit(piece);
}

void visitField(const PieceVisitor& visit, const FieldSlot& slot) {
  const int id = slot.id;
  visitInt(visit, slot.blockLength, kStepBlockLength, id);
  visitInt(visit, slot.type, kStepType, id);
  visitInt(visit, slot.id, kStepFieldId, id);
  visitInt(visit, slot.dataLength, kStepDataLength, id);
  const int content = slot.blockLength - kFieldHeadBytes;
  if (slot.type == FIELD_TEXT) {
    visitBytes(visit, slot.dataLength, &slot.text, kStepText, id);
    visitBytes(visit, content - slot.dataLength, nullptr, kStepPadding, id);
  } else if (slot.type == FIELD_INT) {
    visitInt(visit, slot.value, kStepIntValue, id);
    visitBytes(visit, content - 4, nullptr, kStepPadding, id);
  } else {
    // Keep the record's length whole even though the field cannot be written.
    visitBytes(visit, content, nullptr, kStepPadding, id, true);
  }
}

}  // namespace

void forEachWritePiece(const FieldList& list, const std::function<void(const WritePiece&)>& visit) {
  visitInt(visit, list.size, kStepRecordSize, 0);
  visitInt(visit, list.id, kStepRecordId, 0);
  visitInt(visit, 0, kStepDeletedFlag, 0);
  for (int i = 0; i < list.count; ++i) visitField(visit, list.slots[i]);
}

// Lays the record out directly (the same bytes forEachWritePiece describes):
// zeros first, so padding and the data after a text's zero byte need no work.
bool encodeRecord(const FieldList& list, std::vector<uint8_t>& out) {
  out.assign(static_cast<size_t>(recordSizeOf(list)) + 4, 0);
  uint8_t* at = out.data();
  auto put = [&at](int32_t value) {
    storeInt(at, value);
    at += 4;
  };
  put(list.size);
  put(list.id);
  put(0);
  bool malformed = false;
  for (int i = 0; i < list.count; ++i) {
    const FieldSlot& slot = list.slots[i];
    for (int32_t word : {slot.blockLength, slot.type, slot.id, slot.dataLength}) put(word);
    uint8_t* content = at;
    at += slot.blockLength - kFieldHeadBytes;
    if (slot.type == FIELD_TEXT) {
      std::memcpy(content, slot.text.data(), std::min(slot.text.size(), static_cast<size_t>(slot.dataLength)));
    } else if (slot.type == FIELD_INT) {
      storeInt(content, slot.value);
    } else {
      malformed = true;
    }
  }
  return malformed;
}

WritePiece writeStepAt(const FieldList& list, uint32_t written) {
  WritePiece found;
  uint64_t end = 0;
  bool done = false;
  forEachWritePiece(list, [&](const WritePiece& piece) {
    if (done) return;
    found = piece;
    end += piece.size;
    done = end > written;
  });
  found.data = nullptr;
  return found;
}

std::vector<uint8_t> encodeRecordBytes(const FieldList& list) {
  std::vector<uint8_t> out;
  encodeRecord(list, out);
  return out;
}

}  // namespace tuho
