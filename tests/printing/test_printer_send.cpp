// The work file sent by the program itself to a network printer and to a
// device, through real sockets on loopback and a real character device.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "print_fixture.hpp"
#include "printing/print_record.hpp"
#include "support/printer_peers.hpp"

namespace pliego::testing {
namespace {

// A report whose bytes a driver or a text conversion would change.
std::vector<std::string> printerReport() {
  std::vector<std::string> lines{"\x1B@\x0F" "LIBRO IVA VENTAS \xD1" "ANDU", "Fecha  Cliente  Importe"};
  append(lines, numberedLines(150, "factura \xBA "));
  return lines;
}

class PrinterSendTest : public PrintJobTest {
 protected:
  void SetUp() override { giveReport("IVAVENTAS.TXT", printerReport()); }
  std::string recordLine() const { return splitCrLf(dir.read(kRecordFileName)).back(); }
};

TEST_F(PrinterSendTest, NetworkPrinterGetsTheWorkFileByteForByte) {
  LoopbackPrinter printer;
  view.destinationText = "RED:127.0.0.1:" + std::to_string(printer.port());
  view.port = "";  // the LPT port plays no part
  job.cmdImprimir_Click();
  EXPECT_EQ(lastMessage(), kJobDone);
  EXPECT_EQ(printer.received(), dir.read("WRITE.TXT"));
  EXPECT_GT(dir.read("WRITE.TXT").size(), 2000u);
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_FALSE(dir.exists("imprimir.sh"));
  const auto record = parseRecord(recordLine());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->outcome, RecordOutcome::Sent);
  EXPECT_EQ(record->destination, view.destinationText);
}

struct Refusal {
  const char* name;
  std::string destination;
  const char* told;
};

class PrinterRefusal : public PrinterSendTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PrinterRefusal, IsToldAndRecordedAsFailed) {
  view.destinationText = GetParam().destination;
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find(GetParam().told), std::string::npos) << lastMessage();
  EXPECT_NE(lastMessage().find("No se envio nada a la impresora."), std::string::npos) << lastMessage();
  EXPECT_NE(lastMessage().find("Verifique"), std::string::npos) << lastMessage();
  const auto record = parseRecord(recordLine());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->outcome, RecordOutcome::Failed);
  EXPECT_EQ(record->pages, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PrinterRefusal,
    ::testing::Values(
        Refusal{"Refused", "RED:127.0.0.1:" + std::to_string(LoopbackPrinter::refusingPort()),
                "la impresora rechazo la conexion"},
        Refusal{"UnknownHost", "RED:impresora.invalid", "no se encontro ese equipo en la red"},
        Refusal{"MissingDevice", "DISPOSITIVO:/dev/usb/lp9", "no existe"},
        Refusal{"FolderAsDevice", "DISPOSITIVO:/tmp", "es una carpeta"}),
    [](const auto& info) { return std::string(info.param.name); });

// A printer that takes the connection and then nothing: the job gives up
// after the time allowed, or at once when cancelled, and never hangs.
class StalledPrinter : public PrinterSendTest {
 protected:
  void SetUp() override {
    giveReport("IVAVENTAS.TXT", numberedLines(400000, "renglon de un libro largo que llena la red "));
    view.destinationText = "RED:127.0.0.1:" + std::to_string(printer.port());
  }
  LoopbackPrinter printer{LoopbackPrinter::Mode::NeverReads};
};

TEST_F(StalledPrinter, IsGivenUpWhenItTakesNoByteForTheTimeAllowed) {
  SendLimits limits;
  limits.noProgress = std::chrono::milliseconds(800);
  job.setSendLimits(limits);
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("la impresora dejo de recibir datos"), std::string::npos) << lastMessage();
  EXPECT_NE(lastMessage().find("Puede que la impresora haya recibido parte del listado."), std::string::npos);
  EXPECT_EQ(printer.connections(), 1);
}

TEST_F(StalledPrinter, EscStopsTheSendAndSaysThatPartMayHavePrinted) {
  std::atomic<bool> cancel{false};
  std::vector<int> sent;
  JobHooks hooks;
  hooks.cancel = &cancel;
  hooks.sending = [&](int percent) { sent.push_back(percent); };
  job.setHooks(hooks);
  std::thread esc([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    cancel = true;
  });
  job.cmdImprimir_Click();
  esc.join();
  EXPECT_NE(lastMessage().find("Se cancelo la impresion. La impresora pudo haber recibido parte"), std::string::npos)
      << lastMessage();
  ASSERT_FALSE(sent.empty());
  EXPECT_LT(sent.back(), 100);
  const auto record = parseRecord(recordLine());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->outcome, RecordOutcome::Cancelled);
}

// A pseudo-terminal in raw mode is a real character device whose other end
// the test reads.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master_);
    ::unlockpt(master_);
    termios raw{};
    ::tcgetattr(master_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master_, TCSANOW, &raw);
    path_ = ::ptsname(master_);
    // The device end stays open here, so that the master reads to the end.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() {
    ::close(slave_);
    ::close(master_);
  }
  const std::string& path() const { return path_; }
  std::string read(std::size_t expected) const {
    std::string bytes;
    char block[4096];
    pollfd watched{master_, POLLIN, 0};
    while (bytes.size() < expected && ::poll(&watched, 1, 2000) > 0) {
      const ssize_t got = ::read(master_, block, sizeof block);
      if (got <= 0) break;
      bytes.append(block, static_cast<std::size_t>(got));
    }
    return bytes;
  }

 private:
  int master_ = -1, slave_ = -1;
  std::string path_;
};

TEST_F(PrinterSendTest, DeviceGetsTheWorkFileByteForByte) {
  giveReport("IVAVENTAS.TXT", {"\x1B@\x0F" "LIBRO \xD1", "renglon 2", "Tasas de I.V.A.: 21"});
  PseudoTerminal device;
  view.destinationText = "DISPOSITIVO:" + device.path();
  std::string got;
  std::thread reader([&] { got = device.read(194 + 11); });  // the stamped line and one more
  job.cmdImprimir_Click();
  reader.join();
  EXPECT_EQ(lastMessage(), kJobDone);
  EXPECT_EQ(got, dir.read("WRITE.TXT"));
}

TEST_F(PrinterSendTest, PlainFileAtTheDevicePathIsLeftAsItWas) {
  dir.write("lp0", "no es una impresora");
  view.destinationText = "DISPOSITIVO:" + dir.file("lp0");
  job.cmdImprimir_Click();
  EXPECT_NE(lastMessage().find("esa ruta no es un dispositivo de impresora"), std::string::npos) << lastMessage();
  EXPECT_EQ(dir.read("lp0"), "no es una impresora");
}

TEST_F(PrinterSendTest, DestinationThatNamesNothingIsRefusedBeforeTheJob) {
  view.destinationText = "IMPRESORA";
  job.cmdImprimir_Click();
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_NE(lastMessage().find("El destino de la impresora no es valido: IMPRESORA."), std::string::npos);
  EXPECT_EQ(view.focus, std::vector<FocusTarget>{FocusTarget::Destination});
  EXPECT_FALSE(dir.exists("WRITE.TXT"));
}

TEST_F(PrinterSendTest, LptPortIsStillAskedForWhenTheScriptPrints) {
  view.port = "";
  job.cmdImprimir_Click();
  EXPECT_EQ(lastMessage(),
            "Falta indicar el numero de puerto de la impresora. Debe seleccionar una configuracion de impresora");
}

}  // namespace
}  // namespace pliego::testing
