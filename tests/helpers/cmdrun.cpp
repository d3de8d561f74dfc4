// Test helper: cmdrun PROGRAM HEX [HOLD] runs PROGRAM with the raw command
// line whose bytes HEX spells, inheriting the standard handles, and exits
// with its exit code. Wine would otherwise quote the command line its own
// way. With HOLD, that file is held open for writing meanwhile.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return 120;
  if (argc == 4 &&
      CreateFileA(argv[3], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                  nullptr) == INVALID_HANDLE_VALUE) {
    return 123;
  }
  std::string hex = argv[2];
  std::string line;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    line.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(argv[1], line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return 121;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 122;
  GetExitCodeProcess(process.hProcess, &code);
  return static_cast<int>(code);
}
