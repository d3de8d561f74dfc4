#include "console/report.h"

#include <cstdio>

#include "console/console_out.h"
#include "console/screens.h"
#include "platform/platform.h"

namespace {
constexpr std::size_t kReportLimit = 1024;
}  // namespace

std::string FormatReport(std::string_view class_name, std::string_view module,
                         std::uint32_t offset, std::string_view message) {
  message = message.substr(0, message.find('\0'));
  char address[9];
  std::snprintf(address, sizeof address, "%08X", static_cast<unsigned>(offset));

  std::string text = "Exception ";
  text.append(class_name).append(" in module ").append(module);
  text.append(" at ").append(address).append(".\n");
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
