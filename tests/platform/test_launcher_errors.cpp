// Why a program could not be started: the system's reason, told in Spanish
// where a job reports it.
#include <gtest/gtest.h>

#include "common/system_error_text.hpp"
#include "platform/launcher.hpp"
#include "support/temp_folder.hpp"
#include "support/platform_skips.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

TEST(SystemLauncherErrors, AreTheSystemsReasons) {
  PLIEGO_SKIP_ON_WINDOWS("it starts /bin/sh and relies on the execute permission");
  TempFolder dir;
  dir.write("imprimir.sh", "cat WRITE.TXT > /dev/lp0\n");  // written without the execute permission
  SystemLauncher launcher;
  const std::error_code noProgram = launcher.start({"/no/existe/xdg-open", {}, "", WindowStyle::Hidden});
  EXPECT_EQ(noProgram, std::errc::no_such_file_or_directory);
  EXPECT_EQ(systemErrorText(noProgram), "el archivo o la carpeta no existe");
  EXPECT_EQ(launcher.startTracked({"/bin/sh", {"-c", "true"}, dir.file("no-existe"), WindowStyle::Hidden}),
            std::errc::no_such_file_or_directory);
  const std::error_code notExecutable = launcher.start({dir.file("imprimir.sh"), {"1"}, dir.path(), WindowStyle::Hidden});
  EXPECT_EQ(notExecutable, std::errc::permission_denied);
  EXPECT_EQ(systemErrorText(notExecutable), "no tiene permiso para usarlo");
}

}  // namespace
