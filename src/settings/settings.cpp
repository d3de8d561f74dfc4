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

class SettingsFile : public ByteSource {
 public:
  explicit SettingsFile(platform::FileHandle file) : file_(file) {}
  platform::ReadResult Read(char* buffer, std::size_t size) override {
    return platform::Os().ReadFromFile(file_, buffer, size);
  }

 private:
  platform::FileHandle file_;
};

[[noreturn]] void RaiseConvertError(const std::string& line) {
  throw EConvertError(ConvertErrorMessage(line), CallerAddress());
}

}  // namespace

std::string ConvertErrorMessage(const std::string& line) {
  constexpr std::string_view kTail = "' is not a valid integer value";
  if (1 + line.size() + kTail.size() > kMessageLimit) {
    return "Format result longer than 4096 characters";
  }
  std::string message = "'";
  message.append(line).append(kTail);
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
  std::string delay_line = reader.ReadLine();
  std::optional<std::int32_t> delay = ConvertInteger(delay_line);
  if (!delay) RaiseConvertError(delay_line);
  if (*delay < 0) ShowError(delay_line + " is not positive value!");

  LaunchSettings settings;
  settings.Delay = *delay;
  settings.ProgName = reader.ReadLine();
  settings.ProgParams = reader.ReadLine();
  settings.ProgDirectory = reader.ReadLine();
  platform::Os().CloseFile(file);
  return settings;
}
