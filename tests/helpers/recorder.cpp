// Test helper: appends how it was started (arguments, or on Windows the raw
// command line, and the working directory) to a file beside itself, named
// after it with ".record" added, so a test can see what was launched.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
  std::string self;
  std::string text;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  char buffer[32768];
  DWORD size = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  self.assign(buffer, size);
  text += "cmdline ";
  text += GetCommandLineA();
  text += "\n";
  size = GetCurrentDirectoryA(sizeof buffer, buffer);
  text += "cwd " + std::string(buffer, size) + "\n";
#else
  char buffer[65536];
  ssize_t size = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (size <= 0) return 2;
  self.assign(buffer, static_cast<std::size_t>(size));
  for (int i = 1; i < argc; ++i) text += std::string("arg ") + argv[i] + "\n";
  if (!getcwd(buffer, sizeof buffer)) return 2;
  text += std::string("cwd ") + buffer + "\n";
#endif
  text += "end\n";
  std::FILE* record = std::fopen((self + ".record").c_str(), "ab");
  if (!record) return 2;
  std::fwrite(text.data(), 1, text.size(), record);
  return std::fclose(record) == 0 ? 0 : 2;
}
