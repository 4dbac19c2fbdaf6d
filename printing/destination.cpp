#include "printing/destination.hpp"

#include <charconv>

#include "common/text.hpp"

namespace pliego {

namespace {

constexpr std::string_view kScriptWord = "LPT";
constexpr std::string_view kPrinterWord = "IMPRESORA";
constexpr std::string_view kNetworkWord = "RED";
constexpr std::string_view kDeviceWord = "DISPOSITIVO";
constexpr std::string_view kPdfWord = "PDF";

const std::string kForms =
    " Escriba LPT para el archivo de impresion, IMPRESORA:nombre para una impresora del sistema, "
    "RED:equipo o RED:equipo:puerto para una impresora de red, DISPOSITIVO:ruta para un dispositivo, o PDF para "
    "un archivo PDF en lugar de la impresora.";

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

// "equipo", "equipo:9100", "[::1]:9100": the host and its port.
bool readHostAndPort(std::string_view text, Destination& destination) {
  std::string_view host = text, port;
  bool hasPort = false;
  if (startsWith(text, "[")) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return false;
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty() && rest.front() != ':') return false;
    hasPort = !rest.empty();
    if (hasPort) port = rest.substr(1);
  } else if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
    if (text.find(':', colon + 1) != std::string_view::npos) {
      host = text;  // a bare IPv6 address has no port
    } else {
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
      hasPort = true;
    }
  }
  destination.name = trimmed(host);
  if (destination.name.empty()) return false;
  if (!hasPort) return true;
  const std::string portText = trimmed(port);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), value);
  if (error != std::errc() || end != portText.data() + portText.size() || value == 0 || value > 65535) return false;
  destination.port = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

std::optional<Destination> readDestination(std::string_view text, std::string& problem) {
  const std::string whole = trimmed(text);
  Destination destination;
  if (whole.empty() || toUpperAscii(whole) == kScriptWord) return destination;
  if (toUpperAscii(whole) == kPdfWord) {
    destination.kind = DestinationKind::Pdf;
    return destination;
  }
  const std::size_t colon = whole.find(':');
  const std::string word = toUpperAscii(trimmed(std::string_view(whole).substr(0, colon)));
  const std::string rest = colon == std::string::npos ? std::string() : trimmed(whole.substr(colon + 1));
  const auto refuse = [&](const std::string& why) -> std::optional<Destination> {
    problem = "El destino de la impresora no es valido: " + whole + ". " + why + kForms;
    return std::nullopt;
  };
  if (colon == std::string::npos) return refuse("Falta el tipo de destino.");
  if (word == kPrinterWord) {
    destination.kind = DestinationKind::SystemPrinter;
    destination.name = rest;
    if (rest.empty()) return refuse("Falta el nombre de la impresora.");
  } else if (word == kNetworkWord) {
    destination.kind = DestinationKind::Network;
    if (!readHostAndPort(rest, destination)) return refuse("Falta el equipo o el puerto no es un numero de 1 a 65535.");
  } else if (word == kDeviceWord) {
    destination.kind = DestinationKind::Device;
    destination.name = rest;
    if (rest.empty()) return refuse("Falta la ruta del dispositivo.");
  } else {
    return refuse("El tipo de destino no se conoce.");
  }
  return destination;
}

std::string destinationText(const Destination& destination) {
  switch (destination.kind) {
    case DestinationKind::Script: return std::string(kScriptWord);
    case DestinationKind::SystemPrinter: return std::string(kPrinterWord) + ":" + destination.name;
    case DestinationKind::Device: return std::string(kDeviceWord) + ":" + destination.name;
    case DestinationKind::Pdf: return std::string(kPdfWord);
    case DestinationKind::Network: break;
  }
  const bool bareIpv6 = destination.name.find(':') != std::string::npos;
  const std::string host = bareIpv6 ? "[" + destination.name + "]" : destination.name;
  return std::string(kNetworkWord) + ":" + host + ":" + std::to_string(destination.port);
}

std::string destinationInWords(const Destination& destination) {
  switch (destination.kind) {
    case DestinationKind::Script: return "el archivo de impresion";
    case DestinationKind::SystemPrinter: return "la impresora " + destination.name;
    case DestinationKind::Device: return "el dispositivo " + destination.name;
    case DestinationKind::Pdf: return "un archivo PDF";
    case DestinationKind::Network: break;
  }
  return "la impresora de red " + destination.name + " (puerto " + std::to_string(destination.port) + ")";
}

std::string recordedDestination(const Destination& destination, std::string_view portText) {
  if (destination.kind == DestinationKind::Script) return "LPT" + std::string(trimSpaces(portText));
  return destinationText(destination);
}

}  // namespace pliego
