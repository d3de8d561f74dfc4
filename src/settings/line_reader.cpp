#include "settings/line_reader.h"

#include <cstring>

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = 0x1A;

const char* FindLineStop(const char* begin, const char* end) {
  const char* cr = static_cast<const char*>(std::memchr(begin, kCr, end - begin));
  if (cr) end = cr;
  const char* stop = static_cast<const char*>(std::memchr(begin, kCtrlZ, end - begin));
  return stop ? stop : end;
}

// Joins the pieces of a long line into exactly-sized storage, letting go
// of each piece once copied, so a huge line never needs twice its size.
std::string JoinPieces(std::vector<std::string>& pieces, std::size_t total) {
  if (pieces.size() == 1) return std::move(pieces.front());
  std::string line;
  line.reserve(total);
  for (std::string& piece : pieces) {
    line.append(piece);
    std::string().swap(piece);
  }
  return line;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_(block_size > 0 ? block_size : 1) {}

LineReader::Fill LineReader::FillBlock() {
  platform::ReadResult result = source_.Read(block_.data(), block_.size());
  if (result.failed) return Fill::kFailed;
  if (result.count == 0) {
    ended_ = true;
    return Fill::kEnd;
  }
  next_ = 0;
  size_ = result.count;
  return Fill::kData;
}

std::string LineReader::ReadLine() {
  std::vector<std::string> pieces;
  std::size_t total = 0;
  for (;;) {
    if (ended_) break;
    if (next_ == size_ && FillBlock() != Fill::kData) break;
    const char* begin = block_.data() + next_;
    const char* end = block_.data() + size_;
    if (skip_lf_) {
      skip_lf_ = false;
      if (*begin == kLf) {
        ++next_;
        continue;
      }
    }
    const char* stop = FindLineStop(begin, end);
    if (stop > begin) {
      pieces.emplace_back(begin, stop);
      total += stop - begin;
    }
    next_ = stop - block_.data();
    if (stop == end) continue;
    ++next_;
    if (*stop == kCtrlZ) {
      ended_ = true;
    } else {
      skip_lf_ = true;
    }
    break;
  }
  return pieces.empty() ? std::string() : JoinPieces(pieces, total);
}
