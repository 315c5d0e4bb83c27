#include "compare/program_formats.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace compare {
namespace {

// Table codes of the descriptors these formats use.
constexpr std::uint32_t kCodeA = 1;
constexpr std::uint32_t kCodeF = 7;
constexpr std::uint32_t kCodeI = 9;
constexpr std::uint32_t kCodeLiteral = 16;
constexpr std::uint32_t kCodeEnd = 29;

// Builds a table of 20-byte records (five 32-bit little-endian words each),
// starting with the header record.
class TableBuilder {
 public:
  TableBuilder() { record(0, 0, 0, 0); }
  void record(std::uint32_t code, std::uint32_t d, std::uint32_t w, std::uint32_t word5) {
    words_.insert(words_.end(), {code, d & 0xFFFFFF, w & 0xFFFFFF, 0, word5});
  }
  void literal(std::string_view text) {
    record(kCodeLiteral, 0, static_cast<std::uint32_t>(text.size()), 0);
    std::size_t records = (text.size() + 19) / 20;
    std::size_t first = words_.size();
    words_.resize(first + 5 * records, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      std::uint32_t byte = static_cast<unsigned char>(text[i]);
      words_[first + i / 4] |= byte << (8 * (i % 4));
    }
  }
  // The end record, going back distance records for reversion.
  void end(int distance) { record(kCodeEnd, 0, 0, static_cast<std::uint32_t>(distance)); }
  rio::PrecompiledFormat table(const char* source) const {
    return rio::PrecompiledFormat{words_.data(), words_.size() / 5, source};
  }

 private:
  std::vector<std::uint32_t> words_;
};

TableBuilder build_9983() {
  TableBuilder b;
  b.record(kCodeA, 0, 0, 1);
  b.end(-1);
  return b;
}

TableBuilder build_797() {
  TableBuilder b;
  b.literal(" VALUE = ");
  b.record(kCodeF, 5, 10, 1);
  b.literal(" AT NO. OF CLUSTERS ");
  b.record(kCodeI, 1, 6, 2);
  b.end(-6);
  return b;
}

}  // namespace

const rio::PrecompiledFormat& format_9983() {
  static const TableBuilder builder = build_9983();
  static const rio::PrecompiledFormat table = builder.table("9983(A)");
  return table;
}

const rio::PrecompiledFormat& format_797() {
  static const TableBuilder builder = build_797();
  static const rio::PrecompiledFormat table =
      builder.table("797(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)");
  return table;
}

}  // namespace compare
