#pragma once

#include <cstddef>
#include <vector>

#include "base/text.h"
#include "platform/usb_associations.h"

namespace px {

// An association list already read, handed out one object at a time as WMI hands them out.
// The list must outlive the cursor.
class ListedAssociations : public UsbAssociationCursor {
 public:
  explicit ListedAssociations(const std::vector<Text>& paths) : paths_(paths) {}

  Expected<bool> Next() override {
    if (next_ == paths_.size()) return false;
    current_ = next_++;
    return true;
  }
  Expected<Text> Dependent() override { return paths_[current_]; }

  // How many objects Next has moved over, and how many the list holds.
  std::size_t read() const { return next_; }
  std::size_t size() const { return paths_.size(); }

 private:
  const std::vector<Text>& paths_;
  std::size_t next_ = 0;
  std::size_t current_ = 0;
};

}  // namespace px
