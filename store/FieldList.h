// One store record in memory: up to 16 numbered fields, each a text or an
// integer, in the order in which they sit in the file.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace tuho {

constexpr int FIELD_TEXT = 0;
constexpr int FIELD_INT = 1;
constexpr int FIELD_NONE = 9999;  // an empty slot, or a field a lookup did not find

constexpr int kMaxRecordFields = 16;
// Bytes of a field block taken by type, field id and data length.
constexpr int kFieldHeadBytes = 12;
// Block length of an integer field: the field head plus the 4-byte value.
constexpr int kIntBlockLength = 16;

struct FieldSlot {
  int id = 0;
  int blockLength = 0;
  int dataLength = 0;
  int type = FIELD_NONE;
  std::string text;  // text fields only
  int value = 0;     // integer fields only
};

struct FieldList {
  int count = 0;
  std::array<FieldSlot, kMaxRecordFields> slots;
  int size = 0;  // record size: 8 + sum over the slots of (block length + 4)
  int id = 0;
  int deleted = 0;

  // Fill the next slot; a full list ignores further fields and returns false.
  bool addText(int fieldId, const std::string& text);
  bool addInt(int fieldId, int value);
  void computeSize();
  // A copy of the first slot with this id, or an empty slot of type FIELD_NONE.
  FieldSlot findField(int fieldId) const;
  // Index of the first text slot, or -1.
  int firstTextSlot() const;
  void release();
};

// Block length of a text field holding `length` bytes: 12 plus the smallest
// power of two (at least 2) strictly greater than the length, so that the
// text can grow by at least one byte without moving the record.
int textBlockLength(size_t length);

// 8 + sum over the slots of (block length + 4), computed without overflow.
long long recordSizeOf(const FieldList& list);

}  // namespace tuho
