// A record store and a source list that show their failures and repairs in
// the program's boxes, as the program's own stores do.
#pragma once

#include "catalogue/StoreBoxes.h"
#include "store/RecordStore.h"
#include "store/SourceList.h"

namespace tuho::test {

// Made before the store and gone after it: closing a store may still report.
struct HeldBoxes {
  StoreBoxes boxes;
};

struct BoxedStore : private HeldBoxes, RecordStore {
  BoxedStore() { setReporter(&boxes); }
};

struct BoxedSourceList : private HeldBoxes, SourceList {
  BoxedSourceList() { setReporter(&boxes); }
};

}  // namespace tuho::test
