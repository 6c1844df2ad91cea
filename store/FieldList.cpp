#include "store/FieldList.h"

namespace tuho {

int textBlockLength(size_t length) {
  size_t capacity = 2;
  while (capacity <= length) capacity *= 2;
  return kFieldHeadBytes + static_cast<int>(capacity);
}

bool FieldList::addText(int fieldId, const std::string& value) {
  if (count >= kMaxRecordFields) return false;
  FieldSlot& slot = slots[count++];
  slot = FieldSlot();
  slot.id = fieldId;
  slot.type = FIELD_TEXT;
  slot.text = value;
  slot.dataLength = static_cast<int>(value.size());
  slot.blockLength = textBlockLength(value.size());
  return true;
}

bool FieldList::addInt(int fieldId, int number) {
  if (count >= kMaxRecordFields) return false;
  FieldSlot& slot = slots[count++];
  slot = FieldSlot();
  slot.id = fieldId;
  slot.type = FIELD_INT;
  slot.value = number;
  slot.dataLength = 4;
  slot.blockLength = kIntBlockLength;
  return true;
}

long long recordSizeOf(const FieldList& list) {
  long long total = 8;
  for (int i = 0; i < list.count && i < kMaxRecordFields; ++i) total += list.slots[i].blockLength + 4LL;
  return total;
}

void FieldList::computeSize() { size = static_cast<int>(recordSizeOf(*this)); }

FieldSlot FieldList::findField(int fieldId) const {
  for (int i = 0; i < count && i < kMaxRecordFields; ++i) {
    if (slots[i].id == fieldId) return slots[i];
  }
  return FieldSlot();
}

int FieldList::firstTextSlot() const {
  for (int i = 0; i < count && i < kMaxRecordFields; ++i) {
    if (slots[i].type == FIELD_TEXT) return i;
  }
  return -1;
}

void FieldList::release() {
  for (FieldSlot& slot : slots) slot = FieldSlot();
  count = 0;
}

}  // namespace tuho
