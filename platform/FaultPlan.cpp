#include "platform/FaultPlan.h"

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/File.h"

namespace tuho {
namespace {

struct Rule {
  FaultOp op;
  int nth;
  uint32_t error;
  bool andAfter;
  uint32_t passBytes;
};

struct PlanState {
  std::mutex mutex;
  std::vector<Rule> rules;
  int seen[kFaultOpCount] = {};
  std::function<void(FaultOp)> watcher;
};

std::atomic<bool> gActive{false};
PlanState gPlan;

}  // namespace

FaultPlan::FaultPlan() {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  gPlan.rules.clear();
  gPlan.watcher = nullptr;
  for (int& count : gPlan.seen) count = 0;
  gActive = true;
}

FaultPlan::~FaultPlan() {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  gActive = false;
  gPlan.rules.clear();
  gPlan.watcher = nullptr;
}

void FaultPlan::fail(FaultOp op, int nth, uint32_t error, bool andAfter) {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  gPlan.rules.push_back(Rule{op, nth, error, andAfter, 0});
}

void FaultPlan::failWriteAfter(int nth, uint32_t bytes, uint32_t error) {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  gPlan.rules.push_back(Rule{kFaultWrite, nth, error, false, bytes});
}

int FaultPlan::seen(FaultOp op) const {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  return gPlan.seen[op];
}

void FaultPlan::watch(std::function<void(FaultOp)> beforeEach) {
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  gPlan.watcher = std::move(beforeEach);
}

bool faultNow(FaultOp op) { return faultNow(op, nullptr); }

bool faultNow(FaultOp op, uint32_t* passBytes) {
  if (passBytes) *passBytes = 0;
  if (!gActive) return false;
  std::function<void(FaultOp)> watcher;
  {
    std::lock_guard<std::mutex> lock(gPlan.mutex);
    watcher = gPlan.watcher;
  }
  if (watcher) watcher(op);
  std::lock_guard<std::mutex> lock(gPlan.mutex);
  int count = ++gPlan.seen[op];
  for (const Rule& rule : gPlan.rules) {
    if (rule.op != op) continue;
    if (count == rule.nth || (rule.andAfter && count > rule.nth)) {
      setLastError(rule.error);
      if (passBytes) *passBytes = rule.passBytes;
      return true;
    }
  }
  return false;
}

}  // namespace tuho
