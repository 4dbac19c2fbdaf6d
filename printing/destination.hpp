#pragma once
// Where a profile's jobs go: the "DESTINO" key of its section. An empty text
// (every profile written before the key existed) is the print script with
// the LPT port, exactly as always.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pliego {

inline constexpr const char* kDestinationKey = "DESTINO";
inline constexpr std::uint16_t kRawPrinterPort = 9100;

enum class DestinationKind {
  Script,         // "LPT" or empty: the print script with the port of txtLPT
  SystemPrinter,  // "IMPRESORA:nombre": a printer of the system, sent raw
  Network,        // "RED:equipo[:puerto]": a network printer, raw TCP
  Device,         // "DISPOSITIVO:/dev/usb/lp0": a printer device
  Pdf,            // "PDF": a PDF of the pages instead of the print
};

struct Destination {
  DestinationKind kind = DestinationKind::Script;
  std::string name;  // the printer's name, the host or the device's path
  std::uint16_t port = kRawPrinterPort;

  bool operator==(const Destination&) const = default;
};

// The destination a "DESTINO" text names; the kind's word is read without
// regard to case and blanks around the parts are dropped. Nothing, with
// `problem` set to what the user must correct, when the text names none.
std::optional<Destination> readDestination(std::string_view text, std::string& problem);

// The text that reads back as `destination`.
std::string destinationText(const Destination& destination);

// The destination in words, to complete a sentence: "la impresora EPSON",
// "la impresora de red 10.0.0.5 (puerto 9100)", "el dispositivo /dev/usb/lp0".
std::string destinationInWords(const Destination& destination);

// The text kept in the record of prints: "LPT1" for the script, else the
// destination's text.
std::string recordedDestination(const Destination& destination, std::string_view portText);

}  // namespace pliego
