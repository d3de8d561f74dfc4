#include "settings/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "console/console_out.h"
#include "console/errors.h"
#include "fake_platform.h"
#include "screen_texts.h"

namespace {

using namespace std::string_literals;

const std::string kByteOrderMark = "\xEF\xBB\xBF";

// Notes what had reached standard output when the file was opened, and
// reads made after the file was closed.
class WatchingPlatform : public FakePlatform {
 public:
  std::string output_at_open;
  int reads_after_close = 0;

  platform::FileHandle OpenSettingsFile(const char* name) override {
    output_at_open = output;
    return FakePlatform::OpenSettingsFile(name);
  }
  platform::ReadResult ReadFromFile(platform::FileHandle file, char* buffer,
                                    std::size_t size) override {
    if (!closed.empty()) ++reads_after_close;
    return FakePlatform::ReadFromFile(file, buffer, size);
  }
};

// Reads the given settings file; fails the test if the run ends.
LaunchSettings ReadFrom(FakePlatform& fake, const std::string& content) {
  fake.files["Tolvarin.ini"] = content;
  ScopedFakePlatform scoped(fake);
  LaunchSettings settings;
  EXPECT_EQ(ExitCodeOf([&] { settings = ReadSettings(); }), std::nullopt);
  ConsoleOut().WriteOut();
  return settings;
}

// The message of the EConvertError the file raises, or "(none)".
std::string ConvertErrorOf(FakePlatform& fake, const std::string& content) {
  fake.files["Tolvarin.ini"] = content;
  ScopedFakePlatform scoped(fake);
  try {
    ReadSettings();
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.ClassName(), "EConvertError");
    return error.Message();
  }
  return "(none)";
}

TEST(ReadSettingsTest, ProgressTextIsOutBeforeFileOpens) {
  struct Row {
    const char* name;
    platform::OutputKind kind;
    std::string at_open;
  };
  const Row rows[] = {
      {"console", platform::OutputKind::kCharDevice, "reading ini..."},
      {"pipe", platform::OutputKind::kOther, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WatchingPlatform fake;
    fake.stdout_kind = row.kind;
    ReadFrom(fake, "0\r\n");
    EXPECT_EQ(fake.output_at_open, row.at_open);
    EXPECT_EQ(fake.opened, (std::vector<std::string>{"Tolvarin.ini"}));
    // The line stays open for the next stage to complete.
    EXPECT_EQ(fake.output, "reading ini...");
  }
}

TEST(ReadSettingsTest, ReadsFourPositionalLines) {
  struct Row {
    const char* name;
    std::string content;
    std::int32_t delay;
    std::string prog_name, prog_params, prog_directory;
  };
  const Row rows[] = {
      {"typical", "10\r\nRunDLL32.exe\r\nuser,ExitWindows\r\n\r\n", 10,
       "RunDLL32.exe", "user,ExitWindows", ""},
      {"all four", "3\r\nprog\r\nparams\r\nC:\\WINDOWS\r\n", 3, "prog",
       "params", "C:\\WINDOWS"},
      {"extra lines ignored", "1\r\na\r\nb\r\nc\r\nd\r\ne\r\n", 1, "a", "b",
       "c"},
      {"CR only", "1\ra\rb\rc", 1, "a", "b", "c"},
      {"only the delay", "5", 5, "", "", ""},
      {"only the delay line", "5\r\n", 5, "", "", ""},
      {"zero delay", "0\r\np", 0, "p", "", ""},
      {"leading blank in delay", " 10\r\np", 10, "p", "", ""},
      {"hex delay", "$0A\r\np", 10, "p", "", ""},
      {"lines kept as read", "1\r\n  a b\t\r\n\t\r\n c ", 1, "  a b\t", "\t",
       " c "},
      {"NUL in delay and lines", "7\0x\r\na\0b"s, 7, "a\0b"s, "", ""},
      {"Ctrl-Z at start of line 3", "1\r\nprog\r\n\x1Aparams\r\ndir\r\n", 1,
       "prog", "", ""},
      {"CR CR LF shifts lines", "1\r\r\nprog\r\nparams\r\n", 1, "", "prog",
       "params"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WatchingPlatform fake;
    fake.file_read_limit = 2;  // lines cross reads
    LaunchSettings settings = ReadFrom(fake, row.content);
    EXPECT_EQ(settings.Delay, row.delay);
    EXPECT_EQ(settings.ProgName, row.prog_name);
    EXPECT_EQ(settings.ProgParams, row.prog_params);
    EXPECT_EQ(settings.ProgDirectory, row.prog_directory);
    EXPECT_EQ(fake.closed, (std::vector<platform::FileHandle>{0}));
    EXPECT_EQ(fake.reads_after_close, 0);
  }
}

TEST(ReadSettingsTest, MissingFileShowsError) {
  FakePlatform fake;
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { ReadSettings(); }), 0);
  EXPECT_EQ(fake.opened, (std::vector<std::string>{"Tolvarin.ini"}));
  EXPECT_EQ(fake.output,
            "reading ini..." + ErrorScreen("Tolvarin.ini not found!"));
  EXPECT_EQ(fake.input_taken, 2u);
}

TEST(ReadSettingsTest, NegativeDelayShowsLineAsRead) {
  const std::string lines[] = {"-1",        " -1",         "$FFFFFFFF",
                               "$80000000", "-2147483647", "-0001"};
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    FakePlatform fake;
    fake.files["Tolvarin.ini"] = line + "\r\nprog\r\n";
    ScopedFakePlatform scoped(fake);
    EXPECT_EQ(ExitCodeOf([] { ReadSettings(); }), 0);
    EXPECT_EQ(fake.output,
              "reading ini..." + ErrorScreen(line + " is not positive value!"));
    EXPECT_TRUE(fake.closed.empty());  // held open until the process ends
  }
}

// A line that may still convert is kept whole, however long, since a
// negative one is shown in full.
TEST(ReadSettingsTest, LongNegativeDelayLineIsShownWhole) {
  const std::string lines[] = {std::string(100000, ' ') + "-5",
                               "-5\0"s + std::string(100000, 'j'),
                               "-" + std::string(100000, '0') + "5"};
  for (const std::string& line : lines) {
    SCOPED_TRACE(line.substr(0, 8));
    FakePlatform fake;
    fake.files["Tolvarin.ini"] = line + "\r\n";
    ScopedFakePlatform scoped(fake);
    EXPECT_EQ(ExitCodeOf([] { ReadSettings(); }), 0);
    EXPECT_EQ(fake.output,
              "reading ini..." + ErrorScreen(line + " is not positive value!"));
  }
}

TEST(ReadSettingsTest, DelayThatIsNoIntegerRaisesConvertError) {
  struct Row {
    const char* name;
    std::string content;
    std::string message;
  };
  const Row rows[] = {
      {"letters", "abc\r\nprog", "'abc' is not a valid integer value"},
      {"empty file", "", "'' is not a valid integer value"},
      {"trailing blank", "10 \r\n", "'10 ' is not a valid integer value"},
      {"LF line ends", "10\nprog\n",
       "'10\nprog\n' is not a valid integer value"},
      {"LF line ends up to Ctrl-Z", "10\nprog\n\x1Ajunk",
       "'10\nprog\n' is not a valid integer value"},
      {"byte-order mark", kByteOrderMark + "10\r\n",
       "'" + kByteOrderMark + "10' is not a valid integer value"},
      {"too large", "2147483648", "'2147483648' is not a valid integer value"},
      {"int32 minimum", "-2147483648",
       "'-2147483648' is not a valid integer value"},
      {"NUL first", "\0 5\r\n"s, "'\0 5' is not a valid integer value"s},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakePlatform fake;
    EXPECT_EQ(ConvertErrorOf(fake, row.content), row.message);
    EXPECT_TRUE(fake.closed.empty());
  }
}

TEST(ReadSettingsTest, OverlongDelayLineGetsFixedMessage) {
  struct Row {
    std::size_t length;
    std::string message;
  };
  const Row rows[] = {
      {4065, "'" + std::string(4065, 'x') + "' is not a valid integer value"},
      {4066, "Format result longer than 4096 characters"},
      {100000, "Format result longer than 4096 characters"},
  };
  // Small reads too, so the line arrives in many pieces.
  for (std::size_t read_limit : {0, 7}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::to_string(row.length) + " bytes, reads of " +
                   std::to_string(read_limit));
      FakePlatform fake;
      fake.file_read_limit = read_limit;
      EXPECT_EQ(ConvertErrorOf(fake, std::string(row.length, 'x') + "\r\n"),
                row.message);
    }
  }
}

}  // namespace
