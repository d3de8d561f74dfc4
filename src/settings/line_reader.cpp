#include "settings/line_reader.h"

#include <cstring>

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = 0x1A;

const char* FindLineStop(const char* begin, const char* end) {
  const void* cr = std::memchr(begin, kCr, static_cast<std::size_t>(end - begin));
  if (cr) end = static_cast<const char*>(cr);
  const void* stop = std::memchr(begin, kCtrlZ, static_cast<std::size_t>(end - begin));
  return stop ? static_cast<const char*>(stop) : end;
}

}  // namespace

LineReader::LineReader(ByteSource& source, std::size_t block_size)
    : source_(source), block_(block_size > 0 ? block_size : 1) {}

// False at the end of the text and on a failed read.
bool LineReader::FillBlock() {
  platform::ReadResult result = source_.Read(block_.data(), block_.size());
  if (result.failed) return false;
  if (result.count == 0) {
    ended_ = true;
    return false;
  }
  next_ = 0;
  size_ = result.count;
  return true;
}

void LineReader::ReadLinePieces(const PieceSink& take) {
  while (!ended_) {
    if (next_ == size_ && !FillBlock()) return;
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
    if (stop > begin) take(std::string_view(begin, static_cast<std::size_t>(stop - begin)));
    next_ = static_cast<std::size_t>(stop - block_.data());
    if (stop == end) continue;
    ++next_;
    if (*stop == kCtrlZ) {
      ended_ = true;
    } else {
      skip_lf_ = true;
    }
    return;
  }
}

void LineReader::ReadLine(std::string& line) {
  line.clear();
  ReadLinePieces([&line](std::string_view piece) { line.append(piece); });
}

std::string LineReader::ReadLine() {
  std::string line;
  ReadLine(line);
  return line;
}
