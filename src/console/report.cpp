#include "console/report.h"

#include "console/console_out.h"
#include "console/screens.h"
#include "platform/platform.h"

namespace {
constexpr std::size_t kReportLimit = 1024;
}  // namespace

std::string FormatReport(std::string_view class_name, std::string_view module,
                         std::uint32_t offset, std::string_view message) {
  message = message.substr(0, message.find('\0'));
  // By hand: a printf engine would more than double the Windows exe.
  char address[8];
  for (int i = 7; i >= 0; --i, offset >>= 4) address[i] = "0123456789ABCDEF"[offset & 0xF];

  std::string text = "Exception ";
  text.append(class_name).append(" in module ").append(module);
  text.append(" at ").append(address, sizeof address).append(".\n");
  text.append(message.substr(0, kReportLimit));
  if (!message.empty() && message.back() != '.') text.push_back('.');
  if (text.size() > kReportLimit) text.resize(kReportLimit);
  return text;
}

std::string_view BaseName(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void ReportUnhandledError(const Exception& error) {
  platform::Platform& os = platform::Os();
  std::string module = os.ModulePath();
  ConsoleOut().Write(FormatReport(error.ClassName(), BaseName(module),
                                  os.CodeOffset(error.RaisedAt()),
                                  error.Message()));
  ConsoleOut().WriteLine();
  EndProcess(1);
}
