// What a disk may hold when the power fails while a program writes one
// file. Every write, truncation, flush and replacement is watched, and the
// file looked at just before it. The file as of the last completed flush is
// on the disk; of the writes after it, a leading run reached it whole and
// the next one only in part; a write over existing bytes may also have
// reached it while the writes before it since the flush did not. A write in
// part is a choice of its 512-byte sectors: any of those it wrote over, and
// a leading run of those by which it grew the file, whose length grows with
// its data. A replacement of the file by another is whole or not at all.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/FaultPlan.h"
#include "support/TestFiles.h"

namespace tuho::test {

class DiskModel {
 public:
  // Watches through `plan` from now on; the plan must outlive the watching.
  DiskModel(FaultPlan& plan, std::string path);
  // Every state a cut can leave, once the program has ended its writes.
  std::set<Bytes> states() const;

 private:
  struct Step {
    FaultOp op;
    Bytes before;
  };
  std::string path_;
  Bytes start_;
  std::vector<Step> steps_;
};

}  // namespace tuho::test
