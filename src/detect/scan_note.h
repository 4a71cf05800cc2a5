#pragma once

#include <cstddef>

#include "base/text.h"

namespace px {

// How one device path was taken by the detection pass; the pass reports each, for support tools.
struct ScanNote {
  enum Kind {
    kMassStorage,    // vendor 0483 with product 5720: the printer in its mass-storage mode
    kAccepted,       // vendor 1A86 and a product id of the table
    kNotInTable,     // vendor 1A86, but the product id is not in the table
    kOtherVendor,    // no vendor 1A86 before the product id on its path
    kAfterAccepted,  // not accepted, but an earlier acceptance in the pass stands
  };
  Kind kind;
  std::size_t association;  // index in the WMI list
  Text product_id;          // empty for kMassStorage
  bool ends_pass = false;   // kAccepted: the id ends the pass
};

}  // namespace px
