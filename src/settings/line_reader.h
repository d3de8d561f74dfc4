// Reading the settings text line by line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  /// Fills up to `size` bytes: a count, end of input (0), or a failure.
  virtual platform::ReadResult Read(char* buffer, std::size_t size) = 0;
};

/// Splits a byte stream into lines: CR ends a line and swallows one LF
/// right after it; any other LF is data; the text ends at the end of the
/// input or its first Ctrl-Z, after which every line reads empty.
class LineReader {
 public:
  static constexpr std::size_t kDefaultBlockSize = 64 * 1024;
  /// Takes one piece of a line; false stops reading the line there.
  using PieceSink = std::function<bool(std::string_view piece)>;

  explicit LineReader(ByteSource& source,
                      std::size_t block_size = kDefaultBlockSize);

  /// Hands the next line, without its end, to `take` in one or more pieces,
  /// so the caller decides what to keep. When `take` says stop, the rest of
  /// the line is left unread. A failed read ends the line with what was
  /// read so far; the next call reads again.
  void ReadLinePieces(const PieceSink& take);
  /// The next line into `line`, whose storage is reused.
  void ReadLine(std::string& line);
  std::string ReadLine();

 private:
  template <typename Take>
  void ReadPieces(Take&& take);
  bool FillBlock();

  ByteSource& source_;
  std::vector<char> block_;
  std::size_t next_ = 0;
  std::size_t size_ = 0;
  std::size_t text_end_ = 0;  // in the block: its size, or its first Ctrl-Z
  bool ended_ = false;
  bool skip_lf_ = false;  // the last line ended at a CR
};
