#include "run/launcher_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"

namespace {

const std::string kBannerEnd =
    "version 2 - extended functions...\r\n"
    "any program launched now with delay!\r\n"
    "\r\n\r\n";

constexpr char kHelpStart[] =
    "\b\b\b\b\b\b\b\bThis version needed Tolvarin.ini";

// What followed the banner; fails the test unless the output opens with it.
std::string AfterBanner(const std::string& output) {
  EXPECT_EQ(output.substr(0, 12), "\r\n\r\n\r\n\r\n\r\n\r\n");
  std::size_t end = output.find(kBannerEnd);
  EXPECT_NE(end, std::string::npos) << output;
  if (end == std::string::npos) return output;
  return output.substr(end + kBannerEnd.size());
}

TEST(LauncherMainTest, HelpSwitchShowsHelpWithoutReadingSettings) {
  struct Row {
    const char* name;
    platform::CommandLine command_line;
    bool help;
  };
  const Row rows[] = {
      {"raw /?", RawCommandLine("tolvarin.exe /?"), true},
      {"raw ?", RawCommandLine("tolvarin.exe ?"), true},
      {"raw quoted", RawCommandLine("tolvarin.exe \"/?\""), true},
      {"raw after empty pair", RawCommandLine("tolvarin.exe \"\" /?"), true},
      {"raw name glued to switch", RawCommandLine("\"tolvarin.exe\"/?"), false},
      {"raw none", RawCommandLine("tolvarin.exe"), false},
      {"raw /?x", RawCommandLine("tolvarin.exe /?x"), false},
      {"raw /h", RawCommandLine("tolvarin.exe /h"), false},
      {"raw -?", RawCommandLine("tolvarin.exe -?"), false},
      {"raw second argument", RawCommandLine("tolvarin.exe x /?"), false},
      {"argv /?", ArgvCommandLine({"tolvarin", "/?"}), true},
      {"argv ? after empty", ArgvCommandLine({"tolvarin", "", "?"}), true},
      {"argv none", ArgvCommandLine({"tolvarin"}), false},
      {"argv second argument", ArgvCommandLine({"tolvarin", "x", "?"}), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakePlatform fake;
    fake.command_line = row.command_line;
    ScopedFakePlatform scoped(fake);
    EXPECT_EQ(ExitCodeOf([] { LauncherMain(); }), 0);
    std::string rest = AfterBanner(fake.output);
    if (row.help) {
      EXPECT_EQ(rest.rfind(kHelpStart, 0), 0u) << rest;
      EXPECT_TRUE(fake.opened.empty());
    } else {
      EXPECT_EQ(
          rest.rfind("reading ini...\r\nERROR:  Tolvarin.ini not found!", 0),
          0u)
          << rest;
      EXPECT_EQ(fake.opened, (std::vector<std::string>{"Tolvarin.ini"}));
    }
  }
}

TEST(LauncherMainTest, TypicalRunLaunchesAndEndsWithZero) {
  FakePlatform fake;
  fake.command_line = RawCommandLine("tolvarin.exe");
  fake.files["Tolvarin.ini"] =
      "3\r\nRunDLL32.exe\r\nuser,ExitWindows\r\nC:\\WINDOWS\r\n";
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { LauncherMain(); }), 0);
  // Written to a pipe: all of it goes out when the process ends.
  EXPECT_EQ(AfterBanner(fake.output),
            "reading ini...  ...done!\r\n"
            "Launch RunDLL32.exe user,ExitWindows\r\n"
            "in C:\\WINDOWS\r\n"
            "\r\n"
            "3 second remain...\r\n"
            "2 second remain...\r\n"
            "1 second remain...\r\n"
            "       ...execution!\r\n");
  ASSERT_EQ(fake.launches.size(), 1u);
  EXPECT_EQ(fake.launches[0].name, "RunDLL32.exe");
  EXPECT_EQ(fake.launches[0].params, "user,ExitWindows");
  EXPECT_EQ(fake.launches[0].directory, "C:\\WINDOWS");
  EXPECT_EQ(fake.sleeps, (std::vector<unsigned>{1000, 1000, 1000}));
  EXPECT_EQ(fake.input_taken, 0u);  // no Enter prompt
}

TEST(LauncherMainTest, BadDelayEndsInReportWithOne) {
  FakePlatform fake;
  fake.command_line = RawCommandLine("tolvarin.exe");
  fake.files["Tolvarin.ini"] = "abc\r\nprog\r\n";
  fake.input = "\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { LauncherMain(); }), 1);
  EXPECT_EQ(AfterBanner(fake.output),
            "reading ini...Exception EConvertError in module tolvarin.exe at "
            "1234ABCD.\n'abc' is not a valid integer value.\r\n");
  EXPECT_TRUE(fake.launches.empty());
  EXPECT_EQ(fake.input_taken, 0u);
}

TEST(LauncherMainTest, NegativeDelayEndsOnErrorScreenWithZero) {
  FakePlatform fake;
  fake.command_line = ArgvCommandLine({"tolvarin"});
  fake.files["Tolvarin.ini"] = "-1\r\nprog\r\n";
  ScopedFakePlatform scoped(fake);
  EXPECT_EQ(ExitCodeOf([] { LauncherMain(); }), 0);
  EXPECT_EQ(
      AfterBanner(fake.output)
          .rfind("reading ini...\r\nERROR:  -1 is not positive value!", 0),
      0u);
  EXPECT_TRUE(fake.launches.empty());
}

}  // namespace
