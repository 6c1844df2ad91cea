// Many rewrites with the flushes of one. Each record is written as a single
// rewrite would write it, but the steps are taken for all records together:
// first every moved record's new copy and every stand-in copy is appended,
// and flushed; then every write in place and every flag on a moved record's
// old copy; then, once that is flushed, the stand-ins are cut off, and that
// is flushed. Writes that need no stand-in are left unflushed, as a single
// rewrite leaves them. Opening keeps the later of two live copies of an id,
// so at any point each record is there once, old or new, as with a single
// rewrite.
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "store/RecordCodec.h"
#include "store/RecordStore.h"

namespace tuho {

std::vector<int> RecordStore::rewriteMany(const std::vector<int>& ids, const RecordChange& change) {
  if (refusesWrites()) return {};
  const Snapshot saved = snapshot();
  std::vector<PlannedRewrite> plan;
  plan.reserve(ids.size());
  bool read = true;
  for (int id : inFileOrder(ids)) {
    if (!(read = planRewrite(id, change, &plan))) break;
  }
  int64_t standIns = -1;
  const bool written = read && !plan.empty() && appendAhead(plan, &standIns) && writeBehind(plan) &&
                       (standIns < 0 || (flushWrites() && dropStandIns(standIns)));
  bodyOffset_ = -1;
  bodyDecoded_ = false;
  restore(saved);
  std::vector<int> rewritten;
  if (!written) return rewritten;
  std::unordered_set<int> done;
  for (const PlannedRewrite& each : plan) done.insert(each.id);
  rewritten.reserve(plan.size());
  for (int id : ids) {
    if (done.erase(id)) rewritten.push_back(id);
  }
  return rewritten;
}

// Reading the ids in this order moves on through the read window instead of
// filling it anew for each.
std::vector<int> RecordStore::inFileOrder(const std::vector<int>& ids) const {
  std::vector<std::pair<int64_t, int>> located;
  located.reserve(ids.size());
  std::unordered_set<int> seen;
  for (int id : ids) {
    if (!seen.insert(id).second) continue;
    int64_t offset = -1;
    if (!locator_ || !locator_->locate(id, &offset)) offset = -1;
    located.emplace_back(offset, id);
  }
  std::stable_sort(located.begin(), located.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<int> ordered;
  ordered.reserve(located.size());
  for (const auto& each : located) ordered.push_back(each.second);
  return ordered;
}

// Reads the record with this id and, unless its change declines, adds its
// rewrite to the plan with the way it is to be written. False when the read
// failed: nothing of the batch is written then.
bool RecordStore::planRewrite(int id, const RecordChange& change, std::vector<PlannedRewrite>* plan) {
  if (findById(id) == 0) return walkError_ == 0 && file_.isOpen();
  PlannedRewrite each{id, cursor_.offset, FieldList(), PlannedRewrite::kMove};
  if (!change(decoded(), &each.record)) return true;
  each.record.id = id;
  each.record.deleted = 0;
  if (!isWritableRecord(each.record)) {
    report(StoreFailure::Kind::kMalformed);
    return true;
  }
  if (fitOver(each.record, cursor_.size)) {
    encodeForWrite(each.record, id);
    each.way = changesOneSector(each.offset) ? PlannedRewrite::kOneSector : PlannedRewrite::kGuarded;
  }
  plan->push_back(std::move(each));
  return true;
}

// Appends the new copies of the moved records, then a stand-in for each
// record whose write in place spans sectors, and flushes them. The stand-ins
// come last, so that cutting them off later keeps the moved records. A disk
// too full for a stand-in still takes that rewrite and the rest in place,
// unguarded, as a single rewrite does.
bool RecordStore::appendAhead(std::vector<PlannedRewrite>& plan, int64_t* standIns) {
  bool appended = false;
  for (const PlannedRewrite& each : plan) {
    if (each.way != PlannedRewrite::kMove) continue;
    if (!writeRecordAt(each.record, each.id, true, 0)) return false;
    appended = true;
  }
  bool room = true;
  for (PlannedRewrite& each : plan) {
    if (each.way != PlannedRewrite::kGuarded) continue;
    if (room) {
      encodeForWrite(each.record, each.id);
      int64_t end = 0;
      const StandIn standIn = appendStandIn(&end);
      if (standIn == kStandInFailed) return false;
      room = standIn == kStandInWritten;
      if (room && *standIns < 0) *standIns = end;
      appended = appended || room;
    }
    if (!room) each.way = PlannedRewrite::kUnguarded;
  }
  return !appended || flushWrites();
}

// Writes every record that stays in place and flags the old copy of every
// moved one.
bool RecordStore::writeBehind(const std::vector<PlannedRewrite>& plan) {
  for (const PlannedRewrite& each : plan) {
    const bool written = each.way == PlannedRewrite::kMove ? flagDeleted(each.offset)
                                                           : writeRecordAt(each.record, each.id, false, each.offset);
    if (!written) return false;
  }
  return true;
}

// The rewrites are flushed to the disk: the stand-ins from `standIns` on are cut
// off, and that is flushed before anything else can be appended there.
bool RecordStore::dropStandIns(int64_t standIns) {
  window_.forget();
  if (!file_.seek(standIns, kSeekBegin) || !file_.truncateHere()) {
    failAt(kStoreWrite, kStepRecordSize, 0);
    return false;
  }
  return flushWrites();
}

}  // namespace tuho
