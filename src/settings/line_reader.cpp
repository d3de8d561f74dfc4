#include "settings/line_reader.h"

#include <cstring>

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = 0x1A;

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
  // Looked for once a block rather than once a line.
  const void* ctrl_z = std::memchr(block_.data(), kCtrlZ, size_);
  text_end_ = ctrl_z ? static_cast<std::size_t>(static_cast<const char*>(ctrl_z) -
                                                block_.data())
                     : size_;
  return true;
}

template <typename Take>
void LineReader::ReadPieces(Take&& take) {
  while (!ended_) {
    if (next_ == size_ && !FillBlock()) return;
    if (next_ == text_end_) {  // the Ctrl-Z
      ended_ = true;
      return;
    }
    const char* begin = block_.data() + next_;
    if (skip_lf_) {
      skip_lf_ = false;
      if (*begin == kLf) {
        ++next_;
        continue;
      }
    }
    const char* end = block_.data() + text_end_;
    const void* cr = std::memchr(begin, kCr, static_cast<std::size_t>(end - begin));
    const char* stop = cr ? static_cast<const char*>(cr) : end;
    next_ = static_cast<std::size_t>(stop - block_.data());
    if (cr) {
      ++next_;
      skip_lf_ = true;
    }
    if (stop > begin &&
        !take(std::string_view(begin, static_cast<std::size_t>(stop - begin)))) {
      return;
    }
    if (cr) return;
  }
}

void LineReader::ReadLinePieces(const PieceSink& take) { ReadPieces(take); }

void LineReader::ReadLine(std::string& line) {
  line.clear();
  ReadPieces([&line](std::string_view piece) {
    line.append(piece);
    return true;
  });
}

std::string LineReader::ReadLine() {
  std::string line;
  ReadLine(line);
  return line;
}
