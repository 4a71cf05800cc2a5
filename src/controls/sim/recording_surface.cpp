#include "controls/sim/recording_surface.h"

#include <algorithm>

#include "base/utf.h"

namespace px::sim {

void OpLog::NamePicture(const Picture* picture, std::string name) {
  names_[picture] = std::move(name);
}

std::string OpLog::PictureName(const Picture* picture) const {
  if (picture == nullptr) return "none";
  const auto it = names_.find(picture);
  return it == names_.end() ? "picture" : it->second;
}

std::string OpLine(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += '\t';
    line += field;
  }
  return line;
}

std::string Pair(std::int32_t a, std::int32_t b) {
  return std::to_string(a) + "," + std::to_string(b);
}

std::string Quad(const TwipRect& r) { return Pair(r.x, r.y) + "," + Pair(r.width, r.height); }

std::string EscapeText(TextView text) {
  std::string out;
  for (char c : ToUtf8(text)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

RecordingSurface::RecordingSurface(std::string name, OpLog& log, TwipSize size,
                                   std::unique_ptr<SizedSurface> inner)
    : name_(std::move(name)), log_(log), size_(size), inner_(std::move(inner)) {
  if (inner_) {
    inner_->Resize(size_);
    back_color_ = inner_->BackColor();
    fore_color_ = inner_->ForeColor();
    font_ = inner_->GetFont();
  }
}

void RecordingSurface::Resize(TwipSize size) {
  size_ = size;
  if (inner_) inner_->Resize(size);
}

void RecordingSurface::SetBackColor(Color color) {
  back_color_ = color;
  if (inner_) inner_->SetBackColor(color);
}

void RecordingSurface::SetForeColor(Color color) {
  fore_color_ = color;
  if (inner_) inner_->SetForeColor(color);
}

void RecordingSurface::SetFont(const Font& font) {
  font_ = font;
  if (inner_) inner_->SetFont(font);
}

void RecordingSurface::Clear() {
  log_.Add(OpLine({"clear", name_}));
  if (inner_) inner_->Clear();
}

void RecordingSurface::Print(TwipPoint at, TextView text) {
  log_.Add(OpLine({"print", name_, Pair(at.x, at.y), EscapeText(text)}));
  if (inner_) inner_->Print(at, text);
}

TwipSize RecordingSurface::TextExtent(TextView text) const {
  if (inner_) return inner_->TextExtent(text);
  return {static_cast<std::int32_t>(text.size()) * kCharWidth, kLineHeight};
}

void RecordingSurface::CopyPicture(const Picture& picture, TwipRect source, TwipRect dest) {
  log_.Add(OpLine({"copy", name_, log_.PictureName(&picture), Quad(source), Quad(dest)}));
  if (inner_) inner_->CopyPicture(picture, source, dest);
}

PictureRef RecordingSurface::Image() const {
  if (inner_) return inner_->Image();
  const std::int32_t w = std::max(TwipsToPixels(size_.width), 0);
  const std::int32_t h = std::max(TwipsToPixels(size_.height), 0);
  const Argb back = OpaqueArgb(RedOf(back_color_), GreenOf(back_color_), BlueOf(back_color_));
  return MakePixelPicture(w, h, std::vector<Argb>(static_cast<std::size_t>(w) * h, back));
}

}  // namespace px::sim
