#include "catalogue/TrackRecord.h"

#include "catalogue/TrackFields.h"

namespace tuho {
namespace {

const std::string& orDefault(const std::optional<std::string>& value, const char* fallback,
                             std::string& scratch) {
  if (value) return *value;
  scratch = fallback;
  return scratch;
}

// A slot holds what the schema puts at its position.
bool slotIs(const FieldList& fields, int position, int type) {
  const FieldSlot& slot = fields.slots[static_cast<size_t>(position)];
  return slot.type == type && slot.id == kTrackFieldOrder[position];
}

bool hasTrackShape(const FieldList& fields) {
  if (fields.count < kTrackFieldCount) return false;
  for (int position = 0; position < kTrackFieldCount; ++position) {
    int id = kTrackFieldOrder[position];
    int type = (id == FLD_SOURCE_ID || id == FLD_READY) ? FIELD_INT : FIELD_TEXT;
    if (!slotIs(fields, position, type)) return false;
  }
  return true;
}

const std::string& textAt(const FieldList& fields, int position) {
  return fields.slots[static_cast<size_t>(position)].text;
}

}  // namespace

FieldList trackRecord(const TrackItem& item) {
  std::string scratch;
  FieldList fields;
  fields.addText(FLD_FILE_NAME, item.fileName);
  fields.addInt(FLD_SOURCE_ID, item.source.id);
  fields.addText(FLD_FOLDER, item.folder);
  fields.addText(FLD_TITLE, orDefault(item.tag.title, kUnspecified, scratch));
  fields.addText(FLD_ARTIST, orDefault(item.tag.artist, kUnspecified, scratch));
  fields.addText(FLD_ALBUM, orDefault(item.tag.album, kUnspecified, scratch));
  fields.addText(FLD_GENRE, orDefault(item.tag.genre, kUnspecified, scratch));
  fields.addText(FLD_TRACK_NO, orDefault(item.tag.trackNo, kNoTrackNo, scratch));
  fields.addText(FLD_COMMENT, orDefault(item.tag.comment, kNoComment, scratch));
  fields.addInt(FLD_READY, item.ready == 1 ? 1 : 0);
  fields.computeSize();
  fields.id = item.id;
  return fields;
}

TrackItem trackFromFields(const FieldList& fields) {
  TrackItem item;
  if (!hasTrackShape(fields)) return item;
  item.id = fields.id;
  item.fileName = textAt(fields, 0);
  item.source.id = fields.slots[1].value;
  item.folder = textAt(fields, 2);
  item.tag.title = textAt(fields, 3);
  item.tag.artist = textAt(fields, 4);
  item.tag.album = textAt(fields, 5);
  item.tag.genre = textAt(fields, 6);
  item.tag.trackNo = textAt(fields, 7);
  item.tag.comment = textAt(fields, 8);
  item.tag.filled = 0;
  item.ready = fields.slots[9].value == 1 ? 1 : 0;
  return item;
}

}  // namespace tuho
