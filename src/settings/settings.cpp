#include "settings/settings.h"

#include <optional>

#include "console/console_out.h"
#include "console/errors.h"
#include "console/screens.h"
#include "platform/platform.h"
#include "settings/int_conversion.h"
#include "settings/line_reader.h"

namespace {

constexpr std::size_t kMessageLimit = 4096;
constexpr std::string_view kConvertTail = "' is not a valid integer value";
// Longer lines make a message over the limit.
constexpr std::size_t kLongestQuotedLine = kMessageLimit - 1 - kConvertTail.size();

class SettingsFile : public ByteSource {
 public:
  explicit SettingsFile(platform::FileHandle file) : file_(file) {}
  platform::ReadResult Read(char* buffer, std::size_t size) override {
    return platform::Os().ReadFromFile(file_, buffer, size);
  }

 private:
  platform::FileHandle file_;
};

struct DelayLine {
  std::string text;  // whole, or cut once it can only make the long message
  std::optional<std::int32_t> value;
};

// A delay line is kept whole while it may still convert, since a negative
// one is shown in full; one that cannot convert is read only as far as its
// error message needs, so a huge line costs neither memory nor time.
DelayLine ReadDelayLine(LineReader& reader) {
  DelayLine line;
  IntegerScanner scanner;
  reader.ReadLinePieces([&](std::string_view piece) {
    scanner.Feed(piece);
    line.text.append(piece);
    if (scanner.Rejected() && line.text.size() > kLongestQuotedLine) {
      // The message is settled, and no later line will be read.
      line.text.resize(kLongestQuotedLine + 1);
      return false;
    }
    return true;
  });
  line.value = scanner.Result();
  return line;
}

[[noreturn]] void RaiseConvertError(const std::string& line) {
  throw EConvertError(ConvertErrorMessage(line), CallerAddress());
}

}  // namespace

std::string ConvertErrorMessage(const std::string& line) {
  if (line.size() > kLongestQuotedLine) {
    return "Format result longer than 4096 characters";
  }
  std::string message = "'";
  message.append(line).append(kConvertTail);
  return message;
}

LaunchSettings ReadSettings() {
  ConsoleOut().Write("reading ini...");
  ConsoleOut().Flush();

  platform::FileHandle file = platform::Os().OpenSettingsFile(kSettingsFileName);
  if (file == platform::kNoFile) ShowError("Tolvarin.ini not found!");

  // On the error paths below the file stays open until the process ends.
  SettingsFile source(file);
  LineReader reader(source);
  DelayLine delay = ReadDelayLine(reader);
  if (!delay.value) RaiseConvertError(delay.text);
  if (*delay.value < 0) ShowError(delay.text + " is not positive value!");

  LaunchSettings settings;
  settings.Delay = *delay.value;
  reader.ReadLine(settings.ProgName);
  reader.ReadLine(settings.ProgParams);
  reader.ReadLine(settings.ProgDirectory);
  platform::Os().CloseFile(file);
  return settings;
}
