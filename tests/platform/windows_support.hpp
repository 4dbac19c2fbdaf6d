#pragma once
// What the Windows tests share: the helper program, running a program to its
// end, and a copy of a file that is removed again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/files.hpp"

namespace pliego::testing {

// The helper program built beside the test program.
inline std::string helperProgram() { return joinPath(executableFolder(), PLIEGO_TEST_HELPER); }

// Runs `commandLine` in `folder` and waits for it; its exit code, or -1.
inline int runToEnd(std::string commandLine, const std::string& folder = "") {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return -1;
  DWORD code = 0;
  const bool ended = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return ended ? static_cast<int>(code) : -1;
}

// A copy of `from` at `to` for as long as the object lives.
class CopiedFile {
 public:
  CopiedFile(const std::string& from, std::string to) : to_(std::move(to)) {
    EXPECT_TRUE(CopyFileA(from.c_str(), to_.c_str(), FALSE)) << to_;
  }
  ~CopiedFile() { DeleteFileA(to_.c_str()); }
  CopiedFile(const CopiedFile&) = delete;
  CopiedFile& operator=(const CopiedFile&) = delete;

 private:
  std::string to_;
};

// The process's current folder is `folder` for as long as the object lives.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) {
    char buffer[MAX_PATH];
    saved_.assign(buffer, GetCurrentDirectoryA(MAX_PATH, buffer));
    EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;
  }
  ~CurrentFolder() { SetCurrentDirectoryA(saved_.c_str()); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::string saved_;
};

}  // namespace pliego::testing
