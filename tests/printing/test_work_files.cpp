// The work files in a shared folder: never written through a link, never
// run without the lock, and the preview shows this job's own output.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <new>

#include "platform/file_lock.hpp"
#include "printing/print_fixture.hpp"

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

TEST_F(WorkFilesTest, AnUnexpectedFailureIsToldInSpanish) {
  giveReport("IVAVENTAS.TXT", numberedLines(5));
  JobHooks hooks;
  hooks.progress = [](int) { throw std::bad_alloc(); };
  job.setHooks(hooks);
  job.cmdImprimir_Click();
  EXPECT_EQ(lastMessage(), "No hay memoria suficiente para completar la impresion. No se imprimio nada.");
  EXPECT_FALSE(dir.exists("WRITE.TXT"));

  hooks.progress = [](int) { throw std::length_error("basic_string::_M_create"); };
  job.setHooks(hooks);
  job.cmdImprimir_Click();
  EXPECT_EQ(lastMessage(), "No se pudo completar la impresion por un error inesperado. No se imprimio nada.");
}

}  // namespace
