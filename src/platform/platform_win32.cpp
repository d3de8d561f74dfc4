// Win32 calls only; no decisions here.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "launch/launch_rules.h"
#include "platform/platform.h"

namespace platform {
namespace {

// The longest address the Windows shell takes.
constexpr std::size_t kLongestUrl = 2083;

HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

LaunchResult FromShellResult(INT_PTR code) {
  if (code > 32) return {};
  switch (code) {
    case 0:
    case 8:
      return {LaunchError::kOutOfMemory, static_cast<long>(code)};
    case ERROR_FILE_NOT_FOUND:
      return {LaunchError::kFileNotFound, static_cast<long>(code)};
    case ERROR_PATH_NOT_FOUND:
      return {LaunchError::kPathNotFound, static_cast<long>(code)};
    case SE_ERR_ACCESSDENIED:
      return {LaunchError::kAccessDenied, static_cast<long>(code)};
    case ERROR_BAD_FORMAT:
      return {LaunchError::kNotValidProgram, static_cast<long>(code)};
    case SE_ERR_SHARE:
      return {LaunchError::kSharingViolation, static_cast<long>(code)};
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
      return {LaunchError::kNoAssociation, static_cast<long>(code)};
    default:
      return {LaunchError::kOther, static_cast<long>(code)};
  }
}

ReadResult ReadHandle(HANDLE handle, char* buffer, std::size_t size) {
  DWORD count = 0;
  if (ReadFile(handle, buffer, static_cast<DWORD>(size), &count, nullptr)) {
    return {count, false};
  }
  if (GetLastError() == ERROR_BROKEN_PIPE) return {};
  return {0, true};
}

class Win32Platform : public Platform {
 public:
  CommandLine Arguments() override {
    CommandLine line;
    line.is_raw = true;
    line.raw = GetCommandLineA();
    return line;
  }

  OutputKind StdoutKind() override {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return OutputKind::kUnusable;
    DWORD type = GetFileType(out);
    if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) {
      return OutputKind::kUnusable;
    }
    return type == FILE_TYPE_CHAR ? OutputKind::kCharDevice : OutputKind::kOther;
  }

  bool WriteStdout(const char* data, std::size_t size) override {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(out, data, static_cast<DWORD>(size), &written, nullptr) ||
          written == 0) {
        return false;
      }
      data += written;
      size -= written;
    }
    return true;
  }

  ReadResult ReadStdin(char* buffer, std::size_t size) override {
    ReadResult result = ReadHandle(GetStdHandle(STD_INPUT_HANDLE), buffer, size);
    return {result.count, false};
  }

  bool LineFeedEndsInput() override { return false; }

  FileHandle OpenSettingsFile(const char* name) override {
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kNoFile;
    return reinterpret_cast<FileHandle>(file);
  }

  ReadResult ReadFromFile(FileHandle file, char* buffer,
                          std::size_t size) override {
    return ReadHandle(ToHandle(file), buffer, size);
  }

  void CloseFile(FileHandle file) override { CloseHandle(ToHandle(file)); }

  void SleepMilliseconds(unsigned milliseconds) override { Sleep(milliseconds); }

  LaunchResult Launch(const char* name, const char* params,
                      const char* directory) override {
    // No file the ANSI shell can open has a longer name, and some shells
    // overrun their buffers on one instead of failing.
    std::size_t limit = LooksLikeUrl(name) ? kLongestUrl : MAX_PATH - 1;
    if (std::strlen(name) > limit) {
      return {LaunchError::kFileNotFound, ERROR_FILE_NOT_FOUND};
    }
    HINSTANCE result = ShellExecuteA(nullptr, nullptr, name, params, directory,
                                     SW_SHOWNORMAL);
    return FromShellResult(reinterpret_cast<INT_PTR>(result));
  }

  std::string ModulePath() override {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
      DWORD size = GetModuleFileNameA(nullptr, buffer.data(),
                                       static_cast<DWORD>(buffer.size()));
      if (size == 0) return "tolvarin.exe";
      if (size < buffer.size()) return std::string(buffer.data(), size);
      buffer.resize(buffer.size() * 2);
    }
  }

  std::uint32_t CodeOffset(const void* address) override {
    auto base = reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
    return static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(address) - base);
  }

  void Exit(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

}  // namespace

void SetMainArguments(int, char**) {}

Platform& NativePlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace platform

// Every exception is caught before it could escape, so the runtime's
// default handler, which prints a demangled type name to stderr, is never
// needed; replacing it keeps its demangler and printf engine out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
