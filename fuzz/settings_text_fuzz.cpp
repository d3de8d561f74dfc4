// Reads a settings text held in memory, handed out in pieces of varying
// size, and checks the lines and the delay conversion against plain
// reference versions written here.
//
// Input: byte 0 picks the reader's block size, byte 1 the largest piece a
// read hands out; the rest is the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "settings/int_conversion.h"
#include "settings/line_reader.h"
#include "settings/settings.h"

namespace {

constexpr int kLinesRead = 6;  // two past the last meaningful line

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

// Each read hands out at most one piece, its size taken from the text
// byte where it starts, so the cuts fall differently for every input.
class PieceSource : public ByteSource {
 public:
  PieceSource(std::string_view text, std::size_t largest_piece)
      : text_(text), largest_piece_(largest_piece) {}

  platform::ReadResult Read(char* buffer, std::size_t size) override {
    if (at_ == text_.size()) return {};
    std::size_t piece =
        1 + static_cast<unsigned char>(text_[at_]) % largest_piece_;
    piece = std::min({piece, size, text_.size() - at_});
    text_.copy(buffer, piece, at_);
    at_ += piece;
    return {piece, false};
  }

 private:
  std::string_view text_;
  std::size_t largest_piece_;
  std::size_t at_ = 0;
};

std::vector<std::string> ReferenceLines(std::string_view text, int count) {
  text = text.substr(0, text.find('\x1A'));
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    if (at >= text.size()) {
      lines.emplace_back();
      continue;
    }
    std::size_t cr = text.find('\r', at);
    if (cr == std::string_view::npos) {
      lines.emplace_back(text.substr(at));
      at = text.size();
      continue;
    }
    lines.emplace_back(text.substr(at, cr - at));
    at = cr + 1;
    if (at < text.size() && text[at] == '\n') ++at;
  }
  return lines;
}

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDecimal(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Drops leading zeros first and then bounds the digit count, where the
// library checks for overflow as it goes.
std::optional<std::int32_t> ReferenceConvert(std::string_view text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  if (at == text.size()) return std::nullopt;

  bool hex = text[at] == '$';
  bool negative = !hex && text[at] == '-';
  if (hex || negative || text[at] == '+') ++at;
  std::string_view digits = text.substr(at);
  if (digits.empty()) return std::nullopt;
  for (char c : digits) {
    if (hex ? HexValue(c) < 0 : !IsDecimal(c)) return std::nullopt;
  }
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);

  std::uint64_t value = 0;
  if (hex) {
    if (digits.size() > 8) return std::nullopt;
    for (char c : digits) value = value * 16 + HexValue(c);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  if (digits.size() > 10) return std::nullopt;
  for (char c : digits) value = value * 10 + (c - '0');
  if (value > 2147483647) return std::nullopt;
  std::int64_t signed_value = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(negative ? -signed_value : signed_value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  // Mostly tiny blocks, so lines and CR LF pairs straddle them.
  std::size_t block_size =
      data[0] < 0xF0 ? 1 + data[0] % 64 : LineReader::kDefaultBlockSize;
  std::size_t largest_piece = 1 + data[1] % 64;
  std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);

  PieceSource source(text, largest_piece);
  LineReader reader(source, block_size);
  // Line 1 as the program takes it: in the pieces the reads gave, each
  // fed to the conversion as it comes.
  std::vector<std::string> lines(1);
  IntegerScanner scanner;
  reader.ReadLinePieces([&](std::string_view piece) {
    lines[0].append(piece);
    scanner.Feed(piece);
    return true;
  });
  for (int i = 1; i < kLinesRead; ++i) lines.push_back(reader.ReadLine());
  Check(lines == ReferenceLines(text, kLinesRead),
        "lines differ from the reference splitter");

  const std::string& delay = lines[0];
  std::optional<std::int32_t> converted = ConvertInteger(delay);
  std::optional<std::int32_t> expected = ReferenceConvert(delay);
  Check(converted.has_value() == expected.has_value(),
        "accepts where the reference rejects, or the other way round");
  Check(!converted || *converted == *expected,
        "value differs from the reference");
  Check(scanner.Result() == converted,
        "converting in pieces differs from converting the whole line");

  std::string message = ConvertErrorMessage(delay);
  if (delay.size() >= 4066) {
    Check(message == "Format result longer than 4096 characters",
          "a long line must give the fixed message");
  } else {
    Check(message == "'" + delay + "' is not a valid integer value",
          "the message must quote the line");
  }
  return 0;
}
