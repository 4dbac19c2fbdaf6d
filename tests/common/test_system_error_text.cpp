// System error reasons in Spanish.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "common/system_error_text.hpp"
#include "support/temp_folder.hpp"
#include "support/platform_skips.hpp"

using namespace pliego;

namespace {

TEST(SystemErrorText, TheCasesUsersMeetAreInSpanish) {
  struct Case {
    int value;
    const char* text;
  };
  const Case cases[] = {
      {ENOENT, "el archivo o la carpeta no existe"}, {ENOTDIR, "el archivo o la carpeta no existe"},
      {EACCES, "no tiene permiso para usarlo"},      {EPERM, "no tiene permiso para usarlo"},
      {ENOSPC, "el disco esta lleno"},               {EROFS, "el disco es de solo lectura"},
      {EBUSY, "el dispositivo esta ocupado"},        {ENODEV, "el dispositivo no existe"},
      {ENXIO, "el dispositivo no existe"},           {EMFILE, "hay demasiados archivos abiertos"},
      {ENFILE, "hay demasiados archivos abiertos"},  {EFBIG, "el archivo supera el tamano permitido"},
      {EISDIR, "es una carpeta"},                    {ELOOP, "es un enlace"},
      {EIO, "hubo un error al leer o escribir el disco"}, {ENOMEM, "no hay memoria suficiente"},
  };
  for (const auto& c : cases) EXPECT_EQ(systemErrorText(c.value), c.text) << c.value;
}

// The system's own text is English: the rest are told by number.
TEST(SystemErrorText, OtherErrorsAreToldByNumber) {
  PLIEGO_SKIP_ON_WINDOWS("it tells Linux error numbers");
  EXPECT_EQ(systemErrorText(EPIPE), "error " + std::to_string(EPIPE) + " del sistema");
  EXPECT_EQ(systemErrorText(std::error_code(EPIPE, std::system_category())),
            "error " + std::to_string(EPIPE) + " del sistema");
}

TEST(SystemErrorText, WindowsCodesAreInSpanishToo) {
  EXPECT_EQ(windowsErrorText(2), "el archivo o la carpeta no existe");
  EXPECT_EQ(windowsErrorText(3), "el archivo o la carpeta no existe");
  EXPECT_EQ(windowsErrorText(5), "no tiene permiso para usarlo");
  EXPECT_EQ(windowsErrorText(112), "el disco esta lleno");
  EXPECT_EQ(windowsErrorText(19), "el disco es de solo lectura");
  EXPECT_EQ(windowsErrorText(170), "el dispositivo esta ocupado");
  EXPECT_EQ(windowsErrorText(55), "el dispositivo no existe");
  EXPECT_EQ(windowsErrorText(4), "hay demasiados archivos abiertos");
  EXPECT_EQ(windowsErrorText(1117), "error 1117 del sistema");
}

// The error a real failed file operation carries.
TEST(SystemErrorText, AFileSystemErrorOfTheStandardLibrary) {
  PLIEGO_SKIP_UNDER_WINE("MinGW's std::filesystem on Wine tells a missing file by another code than Windows does");
  pliego::testing::TempFolder dir;
  std::error_code error;
  std::filesystem::rename(dir.file("no-existe.txt"), dir.file("otro.txt"), error);
  ASSERT_TRUE(error);
  EXPECT_EQ(systemErrorText(error), "el archivo o la carpeta no existe");
}

}  // namespace
