#include "support/DiskModel.h"

#include <cstddef>
#include <utility>

namespace tuho::test {
namespace {

constexpr size_t kSector = 512;

Bytes withSectors(const Bytes& base, const Bytes& before, const Bytes& after, const std::set<size_t>& sectors,
                  bool wholeGrowth) {
  Bytes out = base;
  for (size_t at = 0; at < after.size(); ++at) {
    if (!sectors.count(at / kSector) || (at < before.size() && before[at] == after[at])) continue;
    if (out.size() <= at) out.resize(at + 1, 0);
    out[at] = after[at];
  }
  if (wholeGrowth && out.size() < after.size()) out.resize(after.size(), 0);
  return out;
}

// `base` with the change from `before` to `after` made in each way it can
// reach the disk in part.
void addPartial(const Bytes& base, const Bytes& before, const Bytes& after, FaultOp op, std::set<Bytes>& states) {
  if (op != kFaultWrite) {
    Bytes done = op == kFaultReplace ? after : base;
    done.resize(after.size());
    states.insert(done);
    return;
  }
  std::vector<size_t> over, growth;  // sectors the write changed
  for (size_t at = 0; at < after.size(); ++at) {
    if (at < before.size() && before[at] == after[at]) continue;
    std::vector<size_t>& into = (at / kSector + 1) * kSector <= before.size() ? over : growth;
    if (into.empty() || into.back() != at / kSector) into.push_back(at / kSector);
  }
  // Each sector written over in or out (a leading run of them when there
  // are many), with each leading run of the growth.
  const bool few = over.size() <= 4;
  const size_t overChoices = few ? (size_t{1} << over.size()) : over.size() + 1;
  for (size_t choice = 0; choice < overChoices; ++choice) {
    std::set<size_t> chosen;
    for (size_t k = 0; k < over.size(); ++k) {
      if (few ? (choice >> k) & 1 : k < choice) chosen.insert(over[k]);
    }
    for (size_t grown = 0; grown <= growth.size(); ++grown) {
      std::set<size_t> all = chosen;
      all.insert(growth.begin(), growth.begin() + static_cast<std::ptrdiff_t>(grown));
      states.insert(withSectors(base, before, after, all, grown == growth.size()));
    }
  }
}

}  // namespace

DiskModel::DiskModel(FaultPlan& plan, std::string path) : path_(std::move(path)), start_(readBytes(path_)) {
  plan.watch([this](FaultOp op) {
    if (op == kFaultWrite || op == kFaultTruncate || op == kFaultFlush || op == kFaultReplace) {
      steps_.push_back({op, readBytes(path_)});
    }
  });
}

std::set<Bytes> DiskModel::states() const {
  const Bytes end = readBytes(path_);
  std::set<Bytes> states{start_, end};
  Bytes durable = start_;
  for (size_t i = 0; i < steps_.size(); ++i) {
    const Bytes& before = steps_[i].before;
    const Bytes& after = i + 1 < steps_.size() ? steps_[i + 1].before : end;
    if (steps_[i].op == kFaultFlush) {
      durable = before;
      states.insert(durable);
      continue;
    }
    if (before == after) continue;  // another file's
    addPartial(before, before, after, steps_[i].op, states);
    if (after.size() <= before.size()) addPartial(durable, before, after, steps_[i].op, states);
  }
  return states;
}

}  // namespace tuho::test
