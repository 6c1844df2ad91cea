#include "catalogue/TrackRecord.h"

#include "catalogue/TrackFields.h"
#include "store/RecordCodec.h"

namespace tuho {
namespace {

const std::string& orDefault(const std::optional<std::string>& value, const char* fallback,
                             std::string& scratch) {
  if (value) return *value;
  scratch = fallback;
  return scratch;
}

// A field holds what the schema puts at its position.
bool fitsPosition(int position, int id, int type) {
  const int wanted = kTrackFieldOrder[position];
  return id == wanted && type == ((wanted == FLD_SOURCE_ID || wanted == FLD_READY) ? FIELD_INT : FIELD_TEXT);
}

bool hasTrackShape(const FieldList& fields) {
  if (fields.count < kTrackFieldCount) return false;
  for (int position = 0; position < kTrackFieldCount; ++position) {
    const FieldSlot& slot = fields.slots[static_cast<size_t>(position)];
    if (!fitsPosition(position, slot.id, slot.type)) return false;
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
  // A track whose source is not in the list (gone, or the list could not be
  // read) keeps the source id its record holds.
  fields.addInt(FLD_SOURCE_ID, item.source.id != 0 ? item.source.id : item.recordSourceId);
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

bool trackKeysFromBody(const uint8_t* body, size_t length, TrackKeys* keys) {
  RawField fields[kTrackFieldCount];
  if (readRawFields(body, length, fields, kTrackFieldCount) < kTrackFieldCount) return false;
  for (int position = 0; position < kTrackFieldCount; ++position) {
    if (!fitsPosition(position, fields[position].id, fields[position].type)) return false;
  }
  keys->fileName = fields[0].text();
  keys->sourceId = fields[1].intValue();
  keys->title = fields[3].text();
  keys->artist = fields[4].text();
  keys->album = fields[5].text();
  keys->genre = fields[6].text();
  keys->ready = fields[9].intValue() == 1 ? 1 : 0;
  return true;
}

}  // namespace tuho
