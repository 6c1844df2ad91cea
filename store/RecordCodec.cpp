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

bool writeInt(const RecordSink& sink, int32_t value, int step, int fieldId) {
  uint8_t bytes[4];
  storeInt(bytes, value);
  return sink.write(bytes, 4, step, fieldId);
}

bool writeZeros(const RecordSink& sink, int count, int step, int fieldId) {
  if (count <= 0) return true;
  std::vector<uint8_t> zeros(static_cast<size_t>(count), 0);
  return sink.write(zeros.data(), static_cast<uint32_t>(count), step, fieldId);
}

bool writeField(const RecordSink& sink, const FieldSlot& slot) {
  const int id = slot.id;
  if (!writeInt(sink, slot.blockLength, kStepBlockLength, id) || !writeInt(sink, slot.type, kStepType, id) ||
      !writeInt(sink, slot.id, kStepFieldId, id) || !writeInt(sink, slot.dataLength, kStepDataLength, id)) {
    return false;
  }
  const int content = slot.blockLength - kFieldHeadBytes;
  if (slot.type == FIELD_TEXT) {
    // A decoded text stops at a zero byte; the rest of its data is zeros.
    if (slot.dataLength > 0) {
      std::vector<uint8_t> data(static_cast<size_t>(slot.dataLength), 0);
      std::memcpy(data.data(), slot.text.data(), std::min(data.size(), slot.text.size()));
      if (!sink.write(data.data(), static_cast<uint32_t>(data.size()), kStepText, id)) return false;
    }
    return writeZeros(sink, content - slot.dataLength, kStepPadding, id);
  }
  if (slot.type == FIELD_INT) {
    return writeInt(sink, slot.value, kStepIntValue, id) && writeZeros(sink, content - 4, kStepPadding, id);
  }
  // Keep the record's length whole even though the field cannot be written.
  sink.malformed();
  return writeZeros(sink, content, kStepPadding, id);
}

}  // namespace

bool encodeRecord(const FieldList& list, const RecordSink& sink) {
  if (!writeInt(sink, list.size, kStepRecordSize, 0) || !writeInt(sink, list.id, kStepRecordId, 0) ||
      !writeInt(sink, 0, kStepDeletedFlag, 0)) {
    return false;
  }
  for (int i = 0; i < list.count; ++i) {
    if (!writeField(sink, list.slots[i])) return false;
  }
  return true;
}

std::vector<uint8_t> encodeRecordBytes(const FieldList& list) {
  std::vector<uint8_t> out;
  RecordSink sink;
  sink.write = [&out](const uint8_t* data, uint32_t size, int, int) {
    out.insert(out.end(), data, data + size);
    return true;
  };
  sink.malformed = [] {};
  encodeRecord(list, sink);
  return out;
}

}  // namespace tuho
