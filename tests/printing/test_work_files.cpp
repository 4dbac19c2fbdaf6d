// The work files in a shared folder: never written through a link, never
// run without the lock, and the preview shows this job's own output.
// Linux only: symbolic and hard links, named pipes, modes and uids of Linux.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>

#include "platform/file_lock.hpp"
#include "printing/print_fixture.hpp"
#include "support/child_process.hpp"

using namespace pliego;
using namespace pliego::testing;
namespace fs = std::filesystem;

namespace {

const std::string kIni = "[Epson]\r\nRenglones=66\r\n";

class WorkFilesTest : public PrintJobTest {
 protected:
  void SetUp() override {
    dir.write("Pliegomatic.ini", kIni);
    view.header = "1";
  }
  bool told(const std::string& text) const { return lastMessage().find(text) != std::string::npos; }
};

// Whatever stands at a work file's name that is not a plain file of its
// own is refused by name, and what it points at is left as it was.
TEST_F(WorkFilesTest, ALinkOrAFolderAtAWorkFileIsRefusedAndWhatItPointsAtIsKept) {
  TempFolder outside;
  outside.write("ajeno.txt", "de otro\r\n");
  struct Case {
    std::string report, name;
    enum { Link, DanglingLink, HardLink, Folder } kind;
    std::string target;
  };
  const Case cases[] = {
      {"IVAVENTAS.TXT", "WRITE.TXT", Case::Link, dir.file("Pliegomatic.ini")},
      {"IVAVENTAS.TXT", "WRITE.TXT", Case::Link, outside.file("ajeno.txt")},
      {"IVAVENTAS.TXT", "WRITE.TXT", Case::DanglingLink, outside.file("nuevo.txt")},
      {"IVAVENTAS.TXT", "WRITE.TXT", Case::HardLink, dir.file("Pliegomatic.ini")},
      {"IVAVENTAS.TXT", "WRITE.TXT", Case::Folder, ""},
      {"MAYOR.TXT", "WRITE2.TXT", Case::Link, dir.file("Pliegomatic.ini")},
      {"MAYOR.TXT", "WRITE2.TXT", Case::HardLink, dir.file("Pliegomatic.ini")},
      {"MAYOR.TXT", "WRITE.TXT", Case::Link, dir.file("Pliegomatic.ini")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report + " " + c.name + " " + std::to_string(c.kind));
    fs::remove_all(dir.file(c.name));
    giveReport(c.report, numberedLines(5));
    if (c.kind == Case::Link || c.kind == Case::DanglingLink) fs::create_symlink(c.target, dir.file(c.name));
    if (c.kind == Case::HardLink) fs::create_hard_link(c.target, dir.file(c.name));
    if (c.kind == Case::Folder) fs::create_directory(dir.file(c.name));
    launcher.started.clear();
    runJobHere(job, view, jobHooks);
    EXPECT_TRUE(told(dir.file(c.name))) << lastMessage();
    EXPECT_TRUE(told("No se imprimio nada")) << lastMessage();
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(dir.read("Pliegomatic.ini"), kIni);
    EXPECT_EQ(outside.read("ajeno.txt"), "de otro\r\n");
    EXPECT_FALSE(outside.exists("nuevo.txt"));
    fs::remove_all(dir.file(c.name));
  }
}

TEST_F(WorkFilesTest, ALinkAtThePrintScriptIsRefusedAndItsTargetNeverCreated) {
  TempFolder outside;
  outside.write("otro.sh", "echo ajeno\n");
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  const std::string targets[] = {outside.file("nuevo.sh"), outside.file("otro.sh")};
  for (const auto& target : targets) {
    SCOPED_TRACE(target);
    fs::remove(dir.file("imprimir.sh"));
    fs::create_symlink(target, dir.file("imprimir.sh"));
    launcher.started.clear();
    runJobHere(job, view, jobHooks);
    EXPECT_TRUE(told(dir.file("imprimir.sh"))) << lastMessage();
    EXPECT_TRUE(told("No se envio nada a la impresora")) << lastMessage();
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_FALSE(outside.exists("nuevo.sh"));
    EXPECT_EQ(outside.read("otro.sh"), "echo ajeno\n");
  }
}

TEST_F(WorkFilesTest, ALockFileThatIsAFolderIsARefusalNotAnUnlockedJob) {
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  fs::create_directory(dir.file("WRITE.LCK"));
  runJobHere(job, view, jobHooks);
  EXPECT_TRUE(told(dir.file("WRITE.LCK"))) << lastMessage();
  EXPECT_TRUE(told("No se imprimio nada")) << lastMessage();
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
  EXPECT_TRUE(launcher.started.empty());
}

// Another workstation may rewrite the shared work file the moment this job
// lets the lock go; the editor opens this job's own copy.
TEST_F(WorkFilesTest, ThePreviewShowsThisJobsOutputWhateverTheFolderHoldsAfterwards) {
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  view.preview = CheckState::Checked;
  runJobHere(job, view, jobHooks);
  ASSERT_EQ(lastMessage(), "Impresion Finalizada");
  ASSERT_EQ(launcher.started.size(), 1u);
  const std::string shown = launcher.started[0].command.arguments.at(0);
  const std::string ours = dir.read("WRITE.TXT");
  EXPECT_EQ(splitCrLf(ours).size(), 5u);
  EXPECT_EQ(fs::path(shown).filename(), "WRITE.TXT");

  dir.write("WRITE.TXT", "de la otra estacion\r\n");
  std::string seen;
  ASSERT_NO_THROW(seen = readBytes(shown));
  EXPECT_EQ(seen, ours);
  struct stat info {};
  ASSERT_EQ(stat(fs::path(shown).parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);  // no other user of this workstation may read it

  // The next preview replaces the copy; one the editor still has open keeps its text.
  giveReport("IVAVENTAS.TXT", numberedLines(2, "otra "));
  runJobHere(job, view, jobHooks);
  ASSERT_EQ(launcher.started.size(), 2u);
  EXPECT_EQ(readBytes(launcher.started[1].command.arguments.at(0)), dir.read("WRITE.TXT"));
}

// The work file is a new file every time: whoever still reads the earlier
// one (a copy to the printer, an editor) keeps its text.
TEST_F(WorkFilesTest, EveryJobWritesANewWorkFileAndAReaderOfTheLastOneKeepsIt) {
  for (const std::string report : {"IVAVENTAS.TXT", "MAYOR.TXT"}) {
    giveReport(report, numberedLines(3, "primero "));
    runJobHere(job, view, jobHooks);
    ASSERT_EQ(lastMessage(), "Impresion Finalizada") << report;
    const std::string first = dir.read("WRITE.TXT");
    std::FILE* reader = std::fopen(dir.file("WRITE.TXT").c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    giveReport(report, numberedLines(40, "segundo "));
    runJobHere(job, view, jobHooks);
    ASSERT_EQ(lastMessage(), "Impresion Finalizada") << report;
    std::string seen(first.size() + 100, '\0');
    seen.resize(std::fread(seen.data(), 1, seen.size(), reader));
    std::fclose(reader);
    EXPECT_EQ(seen, first) << report;
    EXPECT_NE(dir.read("WRITE.TXT"), first) << report;
    EXPECT_FALSE(dir.exists("WRITE2.TXT")) << report;
  }
}

// The process's memory as /proc tells it, in kB: "VmRSS" now, "VmHWM" at its peak.
long memoryKb(const std::string& what) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(what + ":")) return std::stol(line.substr(what.size() + 1));
  return -1;
}

// One line of 64 MB in a VAT book and in a ledger goes through in pieces:
// the job's memory does not grow with it, and the line is written whole,
// its closing marker at its very end still ending the ledger's page.
TEST_F(WorkFilesTest, ALongLineFlowsThroughTheJobAndTheMemoryStaysFlat) {
  const std::string longLine = std::string(64 << 20, 'x') + " SALDO FINAL: 1";
  for (const std::string report : {"IVAVENTAS.TXT", "MAYOR.TXT"}) {
    SCOPED_TRACE(report);
    giveReport(report, {"ENCABEZADO", "a", longLine, "b", "c"});
    const ChildEnd end = runChild([&] {
      const long before = memoryKb("VmRSS");
      runJobHere(job, view, jobHooks);
      const long growth = memoryKb("VmHWM") - before;
      std::fprintf(stderr, "memory growth %ld kB: %s\n", growth, lastMessage().c_str());
      return lastMessage() == "Impresion Finalizada" && growth < 32 * 1024 ? 0 : 1;
    });
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.code, 0);
    const auto lines = workLines();
    const auto at = std::find(lines.begin(), lines.end(), longLine);
    ASSERT_NE(at, lines.end());
    ASSERT_LT(at + 1, lines.end());
    EXPECT_EQ(at[1], report == "MAYOR.TXT" ? " " : "b");  // a closing balance ends its page
  }
}

TEST_F(WorkFilesTest, AnUnexpectedFailureIsToldInSpanish) {
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  JobHooks hooks;
  hooks.progress = [](int) { throw std::bad_alloc(); };
  jobHooks = hooks;
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "No hay memoria suficiente para completar la impresion. No se imprimio nada.");
  EXPECT_FALSE(dir.exists("WRITE.TXT"));

  hooks.progress = [](int) { throw std::length_error("basic_string::_M_create"); };
  jobHooks = hooks;
  runJobHere(job, view, jobHooks);
  EXPECT_EQ(lastMessage(), "No se pudo completar la impresion por un error inesperado. No se imprimio nada.");
}

}  // namespace
#endif
