#include "px/picture.h"

#include "controls/kit/kit_access.h"

namespace px::kit {

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(const Picture&) = default;
Picture& Picture::operator=(const Picture&) = default;

Picture Picture::FromPixels(std::int32_t width, std::int32_t height,
                            std::vector<std::uint32_t> pixels) {
  return KitAccess::Wrap(MakePixelPicture(width, height, std::move(pixels)));
}

std::int32_t Picture::PixelWidth() const { return rep_ != nullptr ? rep_->ref->PixelWidth() : 0; }

std::int32_t Picture::PixelHeight() const { return rep_ != nullptr ? rep_->ref->PixelHeight() : 0; }

std::span<const std::uint32_t> Picture::Pixels() const {
  if (rep_ == nullptr) return {};
  return rep_->ref->Pixels();
}

}  // namespace px::kit
