// The Windows spooler's side of the printers of the system, as far as a
// machine without printers can show it.
// Windows only: the Windows implementation (paths, output step, spooler).
#ifdef _WIN32
#include <gtest/gtest.h>

#include "platform/print_spooler.hpp"
#include "platform/printer_error.hpp"
#include "printing/printer_send.hpp"

namespace pliego {
namespace {

TEST(WindowsSpooler, UnknownPrinterIsToldByNameAndNothingIsLeftQueued) {
  const auto spooler = systemSpooler();
  std::error_code error;
  EXPECT_FALSE(spooler->begin("Pliegomatic no existe", "prueba", error));
  EXPECT_EQ(error, make_error_code(PrinterError::NoSuchPrinter)) << error.message();
  EXPECT_EQ(printerFaultText(error), "el sistema no tiene una impresora con ese nombre");
  EXPECT_FALSE(spooler->status(SpoolJob{"Pliegomatic no existe", 1}));
}

TEST(WindowsSpooler, ListsThePrintersWithoutFailing) {
  std::error_code error;
  const auto printers = systemSpooler()->printers(error);
  EXPECT_FALSE(error);
  for (const auto& name : printers) EXPECT_FALSE(name.empty());
}

}  // namespace
}  // namespace pliego
#endif
