#include "settings/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Text in memory, handed out at most `per_read` bytes a read (0: no limit);
// the reads numbered in `failing_reads` (from 1) fail and hand out nothing.
class MemorySource : public ByteSource {
 public:
  MemorySource(std::string text, std::size_t per_read = 0,
               std::vector<int> failing_reads = {})
      : text_(std::move(text)),
        per_read_(per_read),
        failing_reads_(std::move(failing_reads)) {}

  platform::ReadResult Read(char* buffer, std::size_t size) override {
    ++reads_;
    if (std::count(failing_reads_.begin(), failing_reads_.end(), reads_)) {
      return {0, true};
    }
    std::size_t count = std::min(size, text_.size() - at_);
    if (per_read_ > 0) count = std::min(count, per_read_);
    std::memcpy(buffer, text_.data() + at_, count);
    at_ += count;
    return {count, false};
  }

 private:
  std::string text_;
  std::size_t per_read_;
  std::vector<int> failing_reads_;
  int reads_ = 0;
  std::size_t at_ = 0;
};

Lines ReadLines(LineReader& reader, std::size_t count) {
  Lines lines;
  for (std::size_t i = 0; i < count; ++i) lines.push_back(reader.ReadLine());
  return lines;
}

TEST(LineReaderTest, SplitsLinesWhereverBlocksAndReadsEnd) {
  struct Row {
    const char* name;
    std::string text;
    Lines expected;  // every line after these reads empty
  };
  const std::string long_line(100000, 'x');
  const Row rows[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"CR only", "a\rb\rc", {"a", "b", "c"}},
      {"LF only is one line", "10\nprog\n", {"10\nprog\n"}},
      {"CR CR LF gives an empty line", "a\r\r\nb", {"a", "", "b"}},
      {"LF CR", "a\n\rb", {"a\n", "b"}},
      {"only one LF skipped", "a\r\n\nb", {"a", "\nb"}},
      {"empty lines", "\r\n\r\nx", {"", "", "x"}},
      {"empty input", "", {}},
      {"no final line end", "abc", {"abc"}},
      {"blanks, tabs, NUL and high bytes kept",
       " a\tb\0\xEF\xBB\xBF \r\n"s,
       {" a\tb\0\xEF\xBB\xBF "s}},
      {"Ctrl-Z ends the text", "a\r\nb\x1Ay\r\nz\r\n", {"a", "b"}},
      {"Ctrl-Z at line start", "1\r\nprog\r\n\x1Aparams\r\ndir", {"1", "prog"}},
      {"Ctrl-Z after CR", "a\r\x1A\nb", {"a"}},
      {"Ctrl-Z first", "\x1Ay\r\nz", {}},
      {"line longer than a block", long_line + "\r\nend", {long_line, "end"}},
  };
  const std::size_t block_sizes[] = {1, 2, 3, 7, LineReader::kDefaultBlockSize};
  const std::size_t read_limits[] = {0, 1, 2, 3, 4, 5};
  for (const Row& row : rows) {
    Lines expected = row.expected;
    expected.resize(expected.size() + 3);
    for (std::size_t block_size : block_sizes) {
      for (std::size_t limit : read_limits) {
        SCOPED_TRACE(testing::Message() << row.name << ", block " << block_size
                                        << ", read limit " << limit);
        MemorySource source(row.text, limit);
        LineReader reader(source, block_size);
        EXPECT_EQ(ReadLines(reader, expected.size()), expected);
      }
    }
  }
}

TEST(LineReaderTest, LfStartingNextBlockBelongsToCr) {
  MemorySource source("ab\r\ncd");
  LineReader reader(source, 3);  // "ab\r" then "\ncd"
  EXPECT_EQ(ReadLines(reader, 3), (Lines{"ab", "cd", ""}));
}

TEST(LineReaderTest, FailedReadEndsLineAndNextLineReadsAgain) {
  struct Row {
    const char* name;
    std::vector<int> failing_reads;
    Lines expected;
  };
  const Row rows[] = {
      {"no failure", {}, {"abcdef", "xyz", ""}},
      {"first read", {1}, {"", "abcdef", "xyz"}},
      {"mid line", {2}, {"abc", "def", "xyz"}},
      {"two in a row", {2, 3}, {"abc", "", "def"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemorySource source("abcdef\r\nxyz\r\n", 3, row.failing_reads);
    LineReader reader(source);
    EXPECT_EQ(ReadLines(reader, 3), row.expected);
  }
}

// A caller that has what it needs stops mid-line without reading on.
TEST(LineReaderTest, PiecesStopWhenTheCallerSaysSo) {
  MemorySource source("abcdefgh\r\nxyz", 2);
  LineReader reader(source, 4);
  std::string taken;
  int pieces = 0;
  reader.ReadLinePieces([&](std::string_view piece) {
    taken.append(piece);
    return ++pieces < 2;
  });
  EXPECT_EQ(taken, "abcd");
  // What was left of the line comes next.
  EXPECT_EQ(ReadLines(reader, 2), (Lines{"efgh", "xyz"}));
}

}  // namespace
