#include "console/console_out.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "fake_platform.h"

namespace {

using platform::OutputKind;

// Records every piece handed to standard output; can refuse chosen calls.
struct RecordingSink {
  std::vector<std::string> pieces;
  std::vector<int> failing_calls;  // 1-based
  int calls = 0;

  ConsoleOutput::Sink AsSink() {
    return [this](const char* data, std::size_t size) {
      ++calls;
      for (int failing : failing_calls) {
        if (failing == calls) return false;
      }
      pieces.emplace_back(data, size);
      return true;
    };
  }
  std::string Text() const {
    std::string text;
    for (const std::string& piece : pieces) text += piece;
    return text;
  }
};

std::vector<std::size_t> Sizes(const std::vector<std::string>& pieces) {
  std::vector<std::size_t> sizes;
  for (const std::string& piece : pieces) sizes.push_back(piece.size());
  return sizes;
}

// Distinct bytes, so a piece out of place shows.
std::string Numbered(std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < size; ++i) text.push_back('A' + i % 26);
  return text;
}

TEST(ConsoleOutputTest, LongTextGoesOutIn128BytePieces) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kOther, sink.AsSink());
  const std::string text = Numbered(300);
  out.Write(text);
  EXPECT_EQ(Sizes(sink.pieces), (std::vector<std::size_t>{128, 128}));
  out.WriteOut();
  EXPECT_EQ(Sizes(sink.pieces), (std::vector<std::size_t>{128, 128, 44}));
  EXPECT_EQ(sink.Text(), text);
}

TEST(ConsoleOutputTest, FullBufferGoesOutWithoutWaitingForMore) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kOther, sink.AsSink());
  out.Write(Numbered(256));
  EXPECT_EQ(Sizes(sink.pieces), (std::vector<std::size_t>{128, 128}));
}

TEST(ConsoleOutputTest, SmallWritesCollectIntoOneBuffer) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kOther, sink.AsSink());
  for (int i = 0; i < 130; ++i) out.Write('x');
  EXPECT_EQ(Sizes(sink.pieces), (std::vector<std::size_t>{128}));
  out.WriteOut();
  EXPECT_EQ(sink.Text(), std::string(130, 'x'));
}

TEST(ConsoleOutputTest, LineEndsWriteOutOnCharacterDeviceOnly) {
  struct Row {
    const char* name;
    OutputKind kind;
    std::vector<std::string> after_flush;
    std::vector<std::string> after_line;
  };
  const Row rows[] = {
      {"console", OutputKind::kCharDevice, {"abc"}, {"abc", "de\r\n"}},
      {"pipe", OutputKind::kOther, {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingSink sink;
    ConsoleOutput out(row.kind, sink.AsSink());
    out.Write("abc");
    out.Flush();
    EXPECT_EQ(sink.pieces, row.after_flush);
    out.Write("de");
    out.WriteLine();
    EXPECT_EQ(sink.pieces, row.after_line);
    out.WriteOut();
    EXPECT_EQ(sink.Text(), "abcde\r\n");
  }
}

TEST(ConsoleOutputTest, FlushOfEmptyBufferWritesNothing) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kCharDevice, sink.AsSink());
  out.Flush();
  out.WriteOut();
  EXPECT_EQ(sink.calls, 0);
}

TEST(ConsoleOutputTest, WidthRightAlignsShorterText) {
  struct Row {
    const char* name;
    std::string_view text;
    int width;
    std::string expected;
  };
  const Row rows[] = {
      {"seven blanks", "...execution!", 20, "       ...execution!"},
      {"one blank", "...execution!", 14, " ...execution!"},
      {"width of the text", "...execution!", 13, "...execution!"},
      {"narrower", "...execution!", 5, "...execution!"},
      {"no width", "...execution!", 0, "...execution!"},
      {"negative width", "...execution!", -20, "...execution!"},
      {"empty text", "", 3, "   "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingSink sink;
    ConsoleOutput out(OutputKind::kOther, sink.AsSink());
    out.Write(row.text, row.width);
    out.WriteOut();
    EXPECT_EQ(sink.Text(), row.expected);
  }
}

TEST(ConsoleOutputTest, IntegersInPlainDecimal) {
  struct Row {
    std::int32_t value;
    std::string expected;
  };
  const Row rows[] = {
      {10, "10"},
      {-5, "-5"},
      {0, "0"},
      {INT32_MAX, "2147483647"},
      {-INT32_MAX, "-2147483647"},
      {INT32_MIN, "-2147483648"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    RecordingSink sink;
    ConsoleOutput out(OutputKind::kOther, sink.AsSink());
    out.Write(row.value);
    out.WriteOut();
    EXPECT_EQ(sink.Text(), row.expected);
  }
}

TEST(ConsoleOutputTest, BytesPassUnchanged) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kOther, sink.AsSink());
  const std::string bytes("a\0b\n\xFF", 5);
  out.Write('\xB3');
  out.Write(bytes);
  out.WriteOut();
  EXPECT_EQ(sink.Text(), '\xB3' + bytes);
}

TEST(ConsoleOutputTest, FailedWriteDropsBufferAndRestOfText) {
  RecordingSink sink;
  sink.failing_calls = {1};
  ConsoleOutput out(OutputKind::kOther, sink.AsSink());
  out.Write(std::string(100, 'a'));
  // Fills the buffer, whose write fails: its 72 remaining bytes go too.
  out.Write(std::string(100, 'b'));
  out.Write("after");
  out.WriteOut();
  EXPECT_EQ(sink.calls, 2);
  EXPECT_EQ(sink.Text(), "after");
}

TEST(ConsoleOutputTest, FailedFlushIsNotRetried) {
  RecordingSink sink;
  sink.failing_calls = {1};
  ConsoleOutput out(OutputKind::kCharDevice, sink.AsSink());
  out.Write("lost");
  out.WriteLine();
  out.Write("kept");
  out.WriteLine();
  EXPECT_EQ(sink.pieces, (std::vector<std::string>{"kept\r\n"}));
}

TEST(ConsoleOutputTest, UnusableOutputDropsEverything) {
  RecordingSink sink;
  ConsoleOutput out(OutputKind::kUnusable, sink.AsSink());
  out.Write(Numbered(300));
  out.Write(42);
  out.Write('x');
  out.WriteLine();
  out.Flush();
  out.WriteOut();
  EXPECT_EQ(sink.calls, 0);
}

// Counts how often the device kind is asked.
class KindCountingPlatform : public FakePlatform {
 public:
  int kind_asked = 0;
  platform::OutputKind StdoutKind() override {
    ++kind_asked;
    return FakePlatform::StdoutKind();
  }
};

TEST(ConsoleOutTest, OpensOnFirstUseAndAsksDeviceKindOnce) {
  KindCountingPlatform fake;
  fake.stdout_kind = OutputKind::kCharDevice;
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(fake.kind_asked, 0);
  ConsoleOut().Write("a");
  ConsoleOut().WriteLine();
  ConsoleOut().Write("b");
  ConsoleOut().Flush();
  EXPECT_EQ(fake.kind_asked, 1);
  EXPECT_EQ(fake.writes, (std::vector<std::string>{"a\r\n", "b"}));
}

}  // namespace
