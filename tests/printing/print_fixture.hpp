#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/print_job.hpp"
#include "support/fakes.hpp"
#include "support/run_job.hpp"
#include "support/temp_folder.hpp"

namespace pliego::testing {

// A print job on a temporary folder, driven through fakes.
class PrintJobTest : public ::testing::Test {
 protected:
  TempFolder dir;
  FakeView view;
  FakeDialogs dialogs;
  FakeLauncher launcher;
  PrintJob job{view, dialogs, launcher, dir.path(), NumberFormat{'.', ','}};
  // What the job's steps tell, as the window's job thread is told.
  JobHooks jobHooks;

  // Writes `lines` as report `name` (CR LF) and selects it.
  void giveReport(const std::string& name, const std::vector<std::string>& lines) {
    dir.write(name, joinCrLf(lines));
    view.report = name;
  }
  std::vector<std::string> workLines() const { return splitCrLf(dir.read("WRITE.TXT")); }
  std::string lastMessage() const { return dialogs.informed.empty() ? "" : dialogs.informed.back(); }
};

// "linea 1" ... "linea n", each padded to a recognisable width.
inline std::vector<std::string> numberedLines(int count, const std::string& prefix = "linea ") {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_string(i));
  return lines;
}

inline std::vector<std::string> blanks(int count) { return std::vector<std::string>(count, " "); }

inline void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// Lines first..last (1-based, inclusive) of `lines`.
inline std::vector<std::string> slice(const std::vector<std::string>& lines, int first, int last) {
  return {lines.begin() + (first - 1), lines.begin() + last};
}

}  // namespace pliego::testing
