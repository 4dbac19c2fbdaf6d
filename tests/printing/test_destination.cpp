#include <gtest/gtest.h>

#include "printing/destination.hpp"

namespace pliego {
namespace {

struct Readable {
  const char* text;
  DestinationKind kind;
  const char* name;
  std::uint16_t port;
  const char* writtenBack;
};

class DestinationText : public ::testing::TestWithParam<Readable> {};

TEST_P(DestinationText, ReadsAndWritesBack) {
  const Readable& row = GetParam();
  std::string problem;
  const auto destination = readDestination(row.text, problem);
  ASSERT_TRUE(destination) << problem;
  EXPECT_EQ(destination->kind, row.kind);
  EXPECT_EQ(destination->name, row.name);
  EXPECT_EQ(destination->port, row.port);
  EXPECT_EQ(destinationText(*destination), row.writtenBack);
  EXPECT_EQ(readDestination(destinationText(*destination), problem), destination);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DestinationText,
    ::testing::Values(Readable{"", DestinationKind::Script, "", 9100, "LPT"},
                      Readable{"  lpt ", DestinationKind::Script, "", 9100, "LPT"},
                      Readable{"IMPRESORA:EPSON LX-350", DestinationKind::SystemPrinter, "EPSON LX-350", 9100,
                               "IMPRESORA:EPSON LX-350"},
                      Readable{"impresora: \\\\CONTADURIA\\EPSON ", DestinationKind::SystemPrinter,
                               "\\\\CONTADURIA\\EPSON", 9100, "IMPRESORA:\\\\CONTADURIA\\EPSON"},
                      Readable{"RED:192.168.1.50", DestinationKind::Network, "192.168.1.50", 9100,
                               "RED:192.168.1.50:9100"},
                      Readable{"Red: matriz.oficina : 9101", DestinationKind::Network, "matriz.oficina", 9101,
                               "RED:matriz.oficina:9101"},
                      Readable{"RED:[fe80::1]:515", DestinationKind::Network, "fe80::1", 515, "RED:[fe80::1]:515"},
                      Readable{"RED:fe80::1", DestinationKind::Network, "fe80::1", 9100, "RED:[fe80::1]:9100"},
                      Readable{" pdf ", DestinationKind::Pdf, "", 9100, "PDF"},
                      Readable{"DISPOSITIVO:/dev/usb/lp0", DestinationKind::Device, "/dev/usb/lp0", 9100,
                               "DISPOSITIVO:/dev/usb/lp0"}));

class UnreadableDestination : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadableDestination, TellsWhatToWrite) {
  std::string problem;
  EXPECT_FALSE(readDestination(GetParam(), problem));
  EXPECT_NE(problem.find("El destino de la impresora no es valido: "), std::string::npos) << problem;
  EXPECT_NE(problem.find("RED:equipo:puerto"), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(Forms, UnreadableDestination,
                         ::testing::Values("EPSON", "IMPRESORA:", "RED:", "RED:equipo:0", "RED:equipo:70000",
                                           "RED:equipo:91x", "RED:[::1", "DISPOSITIVO:", "FAX:1234"));

TEST(DestinationInWords, NamesWhatTheUserTyped) {
  EXPECT_EQ(destinationInWords({DestinationKind::Network, "10.0.0.5", 9100}),
            "la impresora de red 10.0.0.5 (puerto 9100)");
  EXPECT_EQ(recordedDestination({}, " 2 "), "LPT2");
  EXPECT_EQ(recordedDestination({DestinationKind::Device, "/dev/usb/lp0", 9100}, "1"), "DISPOSITIVO:/dev/usb/lp0");
}

}  // namespace
}  // namespace pliego
