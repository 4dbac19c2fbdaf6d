// Why a program could not be started, told in Spanish.
#include <gtest/gtest.h>

#include "platform/launcher.hpp"
#include "support/temp_folder.hpp"
#include "support/platform_skips.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

TEST(SystemLauncherErrors, AreTheSpanishReasons) {
  PLIEGO_SKIP_ON_WINDOWS("it starts /bin/sh and relies on the execute permission");
  TempFolder dir;
  dir.write("imprimir.sh", "cat WRITE.TXT > /dev/lp0\n");  // written without the execute permission
  SystemLauncher launcher;
  EXPECT_EQ(launcher.start({"/no/existe/xdg-open", {}, "", WindowStyle::Hidden}),
            "el archivo o la carpeta no existe");
  EXPECT_EQ(launcher.startTracked({"/bin/sh", {"-c", "true"}, dir.file("no-existe"), WindowStyle::Hidden}),
            "el archivo o la carpeta no existe");
  EXPECT_EQ(launcher.start({dir.file("imprimir.sh"), {"1"}, dir.path(), WindowStyle::Hidden}),
            "no tiene permiso para usarlo");
}

}  // namespace
