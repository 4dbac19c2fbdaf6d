#pragma once
// The files a job writes in the shared folder: created only as plain files
// of their own, removed when the job fails, and copied for the preview.
#include <string>
#include <system_error>

#include "common/line_writer.hpp"

namespace pliego {

// What the user is told when something other than a plain file of its own
// stands at `path`; `consequence` ends the sentence ("No se imprimio nada.").
std::string notPlainFileMessage(const std::string& path, const std::string& consequence);

// Throws JobError when something other than a plain file stands at `path`
// (nothing at all is fine): the ledger's rename would replace it.
void refuseUnlessPlainOrMissing(const std::string& path);

// The message for a work file whose writing failed with `error` (an errno).
std::string workFileWriteFailed(const std::string& path, int error);

// Writes the bytes of `from` into the work file `to` as it stands, and
// removes `from`; for a folder that lets `to` be written but not replaced.
std::error_code copyIntoWorkFile(const std::string& from, const std::string& to);

// A work file being written: closed and removed when it goes, unless kept.
class PendingWorkFile {
 public:
  // Creates the work file `path`, or empties it. Throws JobError when a
  // link or a folder stands there, or when it cannot be created.
  explicit PendingWorkFile(std::string path);
  ~PendingWorkFile();
  PendingWorkFile(const PendingWorkFile&) = delete;
  PendingWorkFile& operator=(const PendingWorkFile&) = delete;

  LineWriter& writer() { return writer_; }
  // The file is done: it stays (or has already taken another name).
  void keep() { kept_ = true; }

 private:
  std::string path_;
  LineWriter writer_;
  bool kept_ = false;
};

// The preview shows a copy of the work file in this workstation's private
// temporary folder, under the same name, whatever another workstation writes
// in the shared folder afterwards. The copy is written as the work file is,
// under a passing name, and takes its own name once the work file is done.
class PreviewCopy {
 public:
  explicit PreviewCopy(const std::string& workPath) : workPath_(workPath) {}
  ~PreviewCopy() { discard(); }  // an unfinished copy goes with it
  PreviewCopy(const PreviewCopy&) = delete;
  PreviewCopy& operator=(const PreviewCopy&) = delete;
  // Makes `out` write the copy too. Throws JobError when it cannot be created.
  void start(LineWriter& out);
  // Gives the finished copy its name and returns its path; throws JobError.
  std::string finish();
  // What the user is told when writing the copy failed with `error`.
  std::string writeFailed(int error) const;

 private:
  std::string failedBecause(const std::string& reason) const;
  // Removes the unfinished copy.
  void discard();

  std::string workPath_;
  std::string copy_, passing_;
};

}  // namespace pliego
