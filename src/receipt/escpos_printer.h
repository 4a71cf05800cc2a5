#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace px::receipt {

// A roll of paper and the print head across it, in dots of 203 per inch: 58 mm paper under a
// 48 mm head (384 dots), 80 mm paper under a 72 mm head (576 dots), the head centred.
struct Roll {
  int paper_mm = 58;
  int paper_dots = 464;
  int head_dots = 384;
};
// The roll of that width in mm; throws std::invalid_argument for a width there is no roll of.
Roll RollOf(int paper_mm);

inline constexpr int kDotsPerInch = 203;
// The cutter sits 5 mm (40 dots) above the print line: a cut where the paper stands lands 40
// dots above the next line to print, and "feed to the cutter" moves the paper 40 dots first.
inline constexpr int kCutterAboveHead = 40;
// No roll holds more than 100 m of paper.
inline constexpr int kMaxPaperDots = 800000;

struct Cut {
  int y = 0;  // dot row of the paper the cut runs along
  bool full = false;
};

struct DrawerKick {
  int y = 0;  // dot row of the paper at the print line when the pulse went out
  int drawer = 1;
  int pin = 2;
  int on_ms = 0;
  int off_ms = 0;
};

// What came out of the printer: the dots printed (one byte per dot, 1 black), where the paper
// was cut, where a drawer was kicked, and one line per command it carried out.
struct Receipt {
  Roll roll;
  int width = 0;  // dots across, the head's
  // The dot rows that hold print, by their row from the top of the paper.
  std::map<int, std::vector<std::uint8_t>> rows;
  int length = 0;  // dot rows the paper moved in all
  std::vector<Cut> cuts;
  std::vector<DrawerKick> kicks;
  std::vector<std::string> log;  // "@12 ESC J 40: feed 40 dots (5.0 mm)"
};

// Bytes the printer cannot carry out: an unknown command, a command cut short by the end of
// the data, a raster block wider than the head or running past the data, more paper than any
// roll holds. The offset is that of the command's first byte.
class EscPosError : public std::runtime_error {
 public:
  EscPosError(std::size_t offset, const std::string& what)
      : std::runtime_error("offset " + std::to_string(offset) + ": " + what), offset_(offset) {}
  std::size_t offset() const { return offset_; }
  // One line for each command carried out before the one refused.
  const std::vector<std::string>& log() const { return log_; }
  void set_log(std::vector<std::string> log) { log_ = std::move(log); }

 private:
  std::size_t offset_;
  std::vector<std::string> log_;
};

// Carries out the commands these printers honour, as their command reference describes them:
// ESC @, GS P, GS v 0, ESC J, LF, CR, GS V (cut where the paper stands: m 0, 1, 48, 49; feed
// to the cutter plus n units and cut: m 65, 66) and ESC p. Throws EscPosError for anything
// else; never guesses.
Receipt Interpret(std::string_view bytes, const Roll& roll);

}  // namespace px::receipt
