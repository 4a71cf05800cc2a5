// The printer's side of a job: what an ESC/POS receipt printer makes of the bytes it receives.
#include "receipt/escpos_printer.h"

#include <algorithm>
#include <cstdio>

namespace px::receipt {

namespace {

// Motion units until GS P sets others: 1/180 inch across, 1/360 inch down.
constexpr int kDefaultUnitX = 180;
constexpr int kDefaultUnitY = 360;
// LF with nothing to print feeds one line of the default spacing, 1/6 inch.
constexpr int kLineDots = (kDotsPerInch + 3) / 6;

std::string Mm(int dots) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f mm", dots * 25.4 / kDotsPerInch);
  return text;
}

class Printer {
 public:
  Printer(std::string_view bytes, const Roll& roll) : bytes_(bytes) {
    receipt_.roll = roll;
    receipt_.width = roll.head_dots;
  }

  Receipt Run() {
    try {
      while (at_ < bytes_.size()) Command();
    } catch (EscPosError& error) {
      error.set_log(std::move(receipt_.log));
      throw;
    }
    receipt_.length = y_;
    if (!receipt_.rows.empty()) receipt_.length = std::max(y_, receipt_.rows.rbegin()->first + 1);
    return std::move(receipt_);
  }

 private:
  std::uint8_t Byte(std::size_t i, const char* name) const {
    if (start_ + i >= bytes_.size()) {
      throw EscPosError(start_, std::string(name) + " cut short: the data ends after " +
                                    std::to_string(bytes_.size() - start_) + " of its bytes");
    }
    return static_cast<std::uint8_t>(bytes_[start_ + i]);
  }
  void Log(const std::string& line) {
    receipt_.log.push_back("@" + std::to_string(start_) + " " + line);
  }
  int Dots(int units, int per_inch) const {
    return (units * kDotsPerInch + per_inch / 2) / per_inch;
  }
  void Feed(int dots) {
    if (y_ + dots > kMaxPaperDots) {
      throw EscPosError(start_,
                        "the job feeds more paper than a roll holds (" + Mm(kMaxPaperDots) + ")");
    }
    y_ += dots;
  }

  void Command() {
    start_ = at_;
    const std::uint8_t first = Byte(0, "a command");
    if (first == 0x0A) {
      Feed(kLineDots);
      Log("LF: feed one line (" + std::to_string(kLineDots) + " dots)");
      at_ += 1;
    } else if (first == 0x0D) {
      Log("CR: nothing to print");
      at_ += 1;
    } else if (first == 0x1B) {
      Escape(Byte(1, "ESC"));
    } else if (first == 0x1D) {
      Group(Byte(1, "GS"));
    } else {
      char text[64];
      std::snprintf(text, sizeof text, "byte 0x%02X is no command these printers honour", first);
      throw EscPosError(start_, text);
    }
  }

  void Escape(std::uint8_t second) {
    if (second == '@') {
      unit_y_ = kDefaultUnitY;
      Log("ESC @: initialise (motion units back to 1/" + std::to_string(kDefaultUnitX) + " and 1/" +
          std::to_string(kDefaultUnitY) + " inch)");
      at_ += 2;
    } else if (second == 'J') {
      const int n = Byte(2, "ESC J");
      const int dots = Dots(n, unit_y_);
      Feed(dots);
      Log("ESC J " + std::to_string(n) + ": feed " + std::to_string(dots) + " dots (" + Mm(dots) +
          ")");
      at_ += 3;
    } else if (second == 'p') {
      const int m = Byte(2, "ESC p");
      const int t1 = Byte(3, "ESC p");
      const int t2 = Byte(4, "ESC p");
      if (m != 0 && m != 1 && m != 48 && m != 49) {
        throw EscPosError(start_, "ESC p " + std::to_string(m) + ": no drawer connector");
      }
      DrawerKick kick;
      kick.y = y_;
      kick.drawer = m % 48 + 1;
      kick.pin = kick.drawer == 1 ? 2 : 5;
      kick.on_ms = t1 * 2;
      kick.off_ms = std::max(t1, t2) * 2;  // an off time shorter than the on time is the on time
      receipt_.kicks.push_back(kick);
      Log("ESC p " + std::to_string(m) + " " + std::to_string(t1) + " " + std::to_string(t2) +
          ": drawer " + std::to_string(kick.drawer) + " (pin " + std::to_string(kick.pin) + "), " +
          std::to_string(kick.on_ms) + " ms on, " + std::to_string(kick.off_ms) + " ms off");
      at_ += 5;
    } else {
      char text[64];
      std::snprintf(text, sizeof text, "ESC 0x%02X is no command these printers honour", second);
      throw EscPosError(start_, text);
    }
  }

  void Group(std::uint8_t second) {
    if (second == 'P') {
      const int x = Byte(2, "GS P");
      const int y = Byte(3, "GS P");
      unit_y_ = y == 0 ? kDefaultUnitY : y;
      Log("GS P " + std::to_string(x) + " " + std::to_string(y) + ": motion units 1/" +
          std::to_string(x == 0 ? kDefaultUnitX : x) + " inch across, 1/" +
          std::to_string(unit_y_) + " inch down");
      at_ += 4;
    } else if (second == 'v') {
      Raster();
    } else if (second == 'V') {
      Cut();
    } else {
      char text[64];
      std::snprintf(text, sizeof text, "GS 0x%02X is no command these printers honour", second);
      throw EscPosError(start_, text);
    }
  }

  // GS v 0 m xL xH yL yH d1...dk: x bytes across, y rows, m doubling width (1, 3) and height
  // (2, 3); printed from the left end of the head.
  void Raster() {
    if (Byte(2, "GS v 0") != '0') throw EscPosError(start_, "GS v is followed by no 0");
    const int m = Byte(3, "GS v 0");
    if (m > 3 && (m < 48 || m > 51)) {
      throw EscPosError(start_, "GS v 0 " + std::to_string(m) + ": no such size");
    }
    const int scale_x = (m % 48 == 1 || m % 48 == 3) ? 2 : 1;
    const int scale_y = m % 48 >= 2 ? 2 : 1;
    const int x = Byte(4, "GS v 0") | Byte(5, "GS v 0") << 8;
    const int y = Byte(6, "GS v 0") | Byte(7, "GS v 0") << 8;
    const std::size_t data = static_cast<std::size_t>(x) * static_cast<std::size_t>(y);
    const int dots = x * 8 * scale_x;
    if (dots > receipt_.width) {
      throw EscPosError(start_, "GS v 0 raster block " + std::to_string(dots) +
                                    " dots wide, wider than the print head's " +
                                    std::to_string(receipt_.width));
    }
    if (start_ + 8 + data > bytes_.size()) {
      throw EscPosError(start_, "GS v 0 raster block of " + std::to_string(data) +
                                    " bytes runs past the data, which holds " +
                                    std::to_string(bytes_.size() - start_ - 8) + " more");
    }
    const std::size_t first = start_ + 8;
    const int top = y_;
    Feed(y * scale_y);
    for (int row = 0; x > 0 && row < y; ++row) {
      for (int copy = 0; copy < scale_y; ++copy) {
        std::vector<std::uint8_t>& line = Row(top + row * scale_y + copy);
        for (int col = 0; col < x * 8; ++col) {
          const auto byte = static_cast<std::uint8_t>(
              bytes_[first + static_cast<std::size_t>(row) * x + col / 8]);
          if ((byte >> (7 - col % 8) & 1) == 0) continue;
          for (int s = 0; s < scale_x; ++s) line[static_cast<std::size_t>(col * scale_x + s)] = 1;
        }
      }
    }
    Log("GS v 0 " + std::to_string(m) + ": raster " + std::to_string(dots) + " x " +
        std::to_string(y * scale_y) + " dots");
    at_ = first + data;
  }

  // GS V m: cut where the paper stands, 40 dots above the print line. GS V m n (65, 66): feed
  // the print line to the cutter and n units on, then cut: n units below the last line.
  void Cut() {
    const int m = Byte(2, "GS V");
    px::receipt::Cut cut;
    cut.full = m == 0 || m == 48 || m == 65;
    std::string line = "GS V " + std::to_string(m) + ": ";
    if (m == 0 || m == 1 || m == 48 || m == 49) {
      cut.y = std::max(0, y_ - kCutterAboveHead);
      at_ += 3;
    } else if (m == 65 || m == 66) {
      const int n = Byte(3, "GS V");
      const int dots = Dots(n, unit_y_);
      cut.y = y_ + dots;
      Feed(kCutterAboveHead + dots);
      line = "GS V " + std::to_string(m) + " " + std::to_string(n) + ": feed to the cutter and " +
             std::to_string(dots) + " dots on, ";
      at_ += 4;
    } else {
      throw EscPosError(start_, "GS V " + std::to_string(m) + ": no cut these printers make");
    }
    receipt_.cuts.push_back(cut);
    Log(line + (cut.full ? "full" : "partial") + " cut at " + Mm(cut.y) + " (dot row " +
        std::to_string(cut.y) + ")");
  }

  std::vector<std::uint8_t>& Row(int y) {
    std::vector<std::uint8_t>& row = receipt_.rows[y];
    row.resize(static_cast<std::size_t>(receipt_.width));
    return row;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::size_t start_ = 0;
  int y_ = 0;
  int unit_y_ = kDefaultUnitY;
  Receipt receipt_;
};

}  // namespace

Roll RollOf(int paper_mm) {
  if (paper_mm == 58) return {58, 464, 384};
  if (paper_mm == 80) return {80, 640, 576};
  throw std::invalid_argument("there is no " + std::to_string(paper_mm) + " mm roll: 58 or 80");
}

Receipt Interpret(std::string_view bytes, const Roll& roll) { return Printer(bytes, roll).Run(); }

}  // namespace px::receipt
