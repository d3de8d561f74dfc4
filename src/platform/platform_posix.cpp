// POSIX calls only; what to do with their results is decided elsewhere,
// except for how a launch finds its program.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "launch/launch_rules.h"
#include "platform/platform.h"
#include "run/command_line.h"

extern char** environ;

namespace platform {
namespace {

std::vector<std::string> g_argv;

LaunchResult FromErrno(int error) {
  switch (error) {
    case 0:
      return {};
    case ENOENT:
    case ENAMETOOLONG:  // no file has such a name
      return {LaunchError::kFileNotFound, error};
    case ENOTDIR:
      return {LaunchError::kPathNotFound, error};
    case EACCES:
    case EPERM:
      return {LaunchError::kAccessDenied, error};
    case ENOEXEC:
      return {LaunchError::kNotValidProgram, error};
    case ENOMEM:
      return {LaunchError::kOutOfMemory, error};
    default:
      return {LaunchError::kOther, error};
  }
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string Absolute(const std::string& path) {
  return path[0] == '/' ? path : CurrentDirectory() + "/" + path;
}

// An empty PATH entry means the working directory, as in the shells.
std::string SearchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string entries = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    std::size_t colon = entries.find(':', start);
    std::string dir = entries.substr(start, colon - start);
    std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string::npos) return std::string();
    start = colon + 1;
  }
}

// Starts `path` in a session of its own, not waited for. The child gets
// default signal handling back, SIGPIPE included.
LaunchResult Spawn(const std::string& path, std::vector<std::string> args,
                   const std::string& directory) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t no_signals;
  sigemptyset(&no_signals);
  sigset_t default_signals;
  sigemptyset(&default_signals);
  sigaddset(&default_signals, SIGPIPE);
  posix_spawnattr_setsigmask(&attr, &no_signals);
  posix_spawnattr_setsigdefault(&attr, &default_signals);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                      POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  }
  pid_t child;
  int error = posix_spawn(&child, path.c_str(), &actions, &attr, argv.data(),
                          environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  return FromErrno(error);
}

LaunchResult OpenDocument(const std::string& target,
                          const std::string& directory) {
  std::string opener = SearchPath("xdg-open");
  if (opener.empty()) return {LaunchError::kNoAssociation, 0};
  return Spawn(opener, {"xdg-open", target}, directory);
}

class PosixPlatform : public Platform {
 public:
  PosixPlatform() {
    // A closed pipe is then a failed write, ignored like any other.
    signal(SIGPIPE, SIG_IGN);
  }

  CommandLine Arguments() override {
    CommandLine line;
    line.argv = g_argv;
    return line;
  }

  OutputKind StdoutKind() override {
    struct stat info;
    if (fstat(STDOUT_FILENO, &info) != 0) return OutputKind::kUnusable;
    return S_ISCHR(info.st_mode) ? OutputKind::kCharDevice : OutputKind::kOther;
  }

  bool WriteStdout(const char* data, std::size_t size) override {
    while (size > 0) {
      ssize_t written = write(STDOUT_FILENO, data, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      data += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  }

  ReadResult ReadStdin(char* buffer, std::size_t size) override {
    return ReadFrom(STDIN_FILENO, buffer, size);
  }

  bool LineFeedEndsInput() override { return true; }

  FileHandle OpenSettingsFile(const char* name) override {
    int fd = OpenRegular(name);
    if (fd < 0 && errno == ENOENT) {
      std::string other = FindNameIgnoringCase(name);
      if (!other.empty()) fd = OpenRegular(other.c_str());
    }
    return fd < 0 ? kNoFile : fd;
  }

  ReadResult ReadFromFile(FileHandle file, char* buffer,
                          std::size_t size) override {
    return ReadFrom(static_cast<int>(file), buffer, size);
  }

  void CloseFile(FileHandle file) override { close(static_cast<int>(file)); }

  void SleepMilliseconds(unsigned milliseconds) override {
    timespec left{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
  }

  LaunchResult Launch(const char* name_bytes, const char* params,
                      const char* directory_bytes) override {
    std::string name = name_bytes;
    std::string directory = directory_bytes;
    if (name.empty()) return {LaunchError::kFileNotFound, ENOENT};
    if (!directory.empty()) {
      struct stat info;
      if (stat(directory.c_str(), &info) != 0) {
        return errno == EACCES ? FromErrno(EACCES)
                               : LaunchResult{LaunchError::kPathNotFound, errno};
      }
      if (!S_ISDIR(info.st_mode)) return {LaunchError::kPathNotFound, ENOTDIR};
    }
    if (LooksLikeUrl(name)) return OpenDocument(name, directory);

    std::vector<std::string> args = SplitCommandLine(params);
    args.insert(args.begin(), name);
    if (name.find('/') != std::string::npos) {
      // Resolved here, since the child changes to `directory` first.
      std::string path = Absolute(name);
      struct stat info;
      if (stat(path.c_str(), &info) != 0) return FromErrno(errno);
      if (IsExecutableFile(path)) return Spawn(path, args, directory);
      return OpenDocument(path, directory);
    }
    std::string found = SearchPath(name);
    if (!found.empty()) return Spawn(found, args, directory);
    struct stat info;
    if (stat(name.c_str(), &info) == 0) {
      return OpenDocument(Absolute(name), directory);
    }
    return {LaunchError::kFileNotFound, ENOENT};
  }

  std::string ModulePath() override {
    std::vector<char> buffer(4096);
    for (;;) {
      ssize_t size = readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (size < 0) return g_argv.empty() ? "tolvarin" : g_argv[0];
      if (static_cast<std::size_t>(size) < buffer.size()) {
        return std::string(buffer.data(), static_cast<std::size_t>(size));
      }
      buffer.resize(buffer.size() * 2);
    }
  }

  std::uint32_t CodeOffset(const void* address) override {
    Dl_info info;
    if (dladdr(address, &info) == 0 || info.dli_fbase == nullptr) {
      return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address));
    }
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address) -
                                      reinterpret_cast<std::uintptr_t>(info.dli_fbase));
  }

  void Exit(int code) override { std::exit(code); }

 private:
  static ReadResult ReadFrom(int fd, char* buffer, std::size_t size) {
    for (;;) {
      ssize_t count = read(fd, buffer, size);
      if (count >= 0) return {static_cast<std::size_t>(count), false};
      if (errno == EINTR) continue;
      if (errno == EPIPE) return {};
      return {0, true};
    }
  }

  // Opens without blocking on a FIFO, then accepts regular files only.
  static int OpenRegular(const char* name) {
    int fd = open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      errno = EISDIR;
      return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
  }

  // The first name in byte order that matches `name` in any ASCII case.
  static std::string FindNameIgnoringCase(const char* name) {
    DIR* dir = opendir(".");
    if (!dir) return std::string();
    std::string best;
    while (dirent* entry = readdir(dir)) {
      if (strcasecmp(entry->d_name, name) == 0 &&
          (best.empty() || std::strcmp(entry->d_name, best.c_str()) < 0)) {
        best = entry->d_name;
      }
    }
    closedir(dir);
    return best;
  }
};

}  // namespace

void SetMainArguments(int argc, char** argv) {
  g_argv.assign(argv, argv + argc);
}

Platform& NativePlatform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace platform
