// Test hook: makes the Nth file operation of a kind fail with a chosen Win32
// error code. Both backends consult it before calling the operating system,
// so every error path above the platform layer can be reached on purpose.
#pragma once

#include <cstdint>
#include <functional>

namespace tuho {

enum FaultOp { kFaultOpen, kFaultRead, kFaultWrite, kFaultSeek, kFaultFlush, kFaultTruncate, kFaultCopy,
               kFaultDelete, kFaultReplace, kFaultCreateFolder, kFaultList, kFaultOpCount };

class FaultPlan {
 public:
  // Installs itself; faults count operations from the moment of installing.
  FaultPlan();
  ~FaultPlan();
  FaultPlan(const FaultPlan&) = delete;
  FaultPlan& operator=(const FaultPlan&) = delete;

  // The nth (1-based) operation of this kind fails with `error`; with
  // `andAfter` every later one fails too.
  void fail(FaultOp op, int nth, uint32_t error, bool andAfter = false);
  // The nth write stops after `bytes` bytes reached the file, as a disk
  // that fills up part way through a write.
  void failWriteAfter(int nth, uint32_t bytes, uint32_t error);
  // Operations of this kind seen so far.
  int seen(FaultOp op) const;
  // Called before every operation the plan counts, ahead of its outcome, so
  // that a test can look at the files just before each change. It must not
  // use the files through the backends.
  void watch(std::function<void(FaultOp)> beforeEach);
};

// Called by the backends: true when this operation is to fail; the error is
// then set as the thread's last error.
bool faultNow(FaultOp op);
// As faultNow, also saying how many bytes a failing write lets through.
bool faultNow(FaultOp op, uint32_t* passBytes);

}  // namespace tuho
