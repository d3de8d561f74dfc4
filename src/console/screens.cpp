#include "console/screens.h"

#include <cstdlib>

#include "console/console_out.h"

namespace {

constexpr std::string_view kBanner =
    "\r\n\r\n\r\n\r\n\r\n\r\n"
    "Tolvarin delayed launcher (c) 2026 the Tolvarin developers\r\n"
    "version 2 - extended functions...\r\n"
    "any program launched now with delay!\r\n"
    "\r\n";

constexpr std::string_view kHelp =
    "\b\b\b\b\b\b\b\b"
    "This version needed Tolvarin.ini with FOUR lines:\r\n"
    "1 - delay (positive integer value)\r\n"
    "2 - ProgName (ex., RunDLL32.exe - required anywhere)\r\n"
    "3 - ProgParams (ex., user,ExitWindows - optional)\r\n"
    "4 - ProgDirectory (ex., C:\\WINDOWS - optional)";

// The box bytes are OEM code page characters (437 and 866 agree on them).
constexpr std::string_view kEnterPrompt =
    "\r\n\r\n\r\n"
    "      \xDA\xC4\xC4\xC4\xC4\xC4\xBF\r\n"
    "Press \xB3" "Enter\xB3 to close this window...\r\n"
    "      \xC0\xC4\xC4\xC4\xC4\xC4\xD9\r\n";

constexpr char kCtrlZ = 0x1A;

}  // namespace

void WriteBanner() {
  ConsoleOut().Write(kBanner);
  ConsoleOut().WriteLine();
}

void ShowHelp() {
  ConsoleOut().Write(kHelp);
  ConsoleOut().WriteLine();
  PressEnterAndHalt();
}

void ShowError(std::string_view message) {
  ConsoleOutput& out = ConsoleOut();
  out.Write("\r\nERROR:  ");
  out.Write(message);
  out.Write("\r\n\r\n\r\n /? or ? to help.");
  out.WriteLine();
  PressEnterAndHalt();
}

void PressEnterAndHalt() {
  ConsoleOut().Write(kEnterPrompt);
  ConsoleOut().WriteLine();
  DiscardInputLine(platform::Os());
  EndProcess(0);
}

void EndProcess(int exit_code) {
  ConsoleOut().WriteOut();
  platform::Os().Exit(exit_code);
  std::abort();  // Exit never returns; the compiler cannot see that
}

void DiscardInputLine(platform::Platform& os) {
  char buffer[128];
  std::size_t size = 0;
  std::size_t next = 0;
  auto read_byte = [&]() -> int {
    if (next == size) {
      platform::ReadResult result = os.ReadStdin(buffer, sizeof buffer);
      if (result.failed || result.count == 0) return -1;
      size = result.count;
      next = 0;
    }
    return static_cast<unsigned char>(buffer[next++]);
  };
  const bool lf_ends_line = os.LineFeedEndsInput();
  for (;;) {
    int byte = read_byte();
    if (byte < 0 || byte == kCtrlZ) return;
    if (byte == '\r') {
      read_byte();  // an LF after the CR belongs to the same Enter
      return;
    }
    if (byte == '\n' && lf_ends_line) return;
  }
}
