// The window while a print job runs, with the system's launcher and real
// print scripts: it keeps answering while a copy still prints, a second F10
// starts nothing, Esc and "Salir" stop a wait, and a print or preview
// command that fails is told in the window's own message boxes.
#include <QLabel>
#include <QListWidget>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#ifndef _WIN32
#include <csignal>
#endif

#include <QFile>
#include <QGroupBox>

#include "platform/files.hpp"
#include "platform/launcher.hpp"
#include "printing/output_step.hpp"
#include "printing/print_record.hpp"
#include "window/job_thread.hpp"
#include "window/system_settings.hpp"
#include "window_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const char* const kOneProfileIni =
    "[EPSON 11 PULGADAS]\r\nRENGLONES POR PAGINA=66\r\nRENGLONES DEL ENCABEZADO=2\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\nLPT=1\r\nNUMERO DE PAGINA=1\r\n";

// The system's launcher, counting what it starts and the endings the
// window has taken.
struct CountingLauncher : ProgramLauncher {
  SystemLauncher real;
  std::atomic<int> started{0};
  std::atomic<int> endingsTaken{0};
  std::error_code start(const Command& command) override {
    ++started;
    return real.start(command);
  }
  std::error_code startTracked(const Command& command) override {
    ++started;
    return real.startTracked(command);
  }
  bool waitForTracked(std::chrono::milliseconds timeout) override { return real.waitForTracked(timeout); }
  std::optional<Ending> waitForLastStarted(std::chrono::milliseconds timeout) override {
    return real.waitForLastStarted(timeout);
  }
  std::vector<Ending> takeEndings() override {
    auto endings = real.takeEndings();
    endingsTaken += static_cast<int>(endings.size());
    return endings;
  }
};

#ifdef _WIN32
const char* const kScriptName = "imprimir.bat";
std::string helperProgram() { return "\"" + joinPath(executableFolder(), PLIEGO_TEST_HELPER) + "\""; }
// A print script that writes `message` to its error output and ends with
// `status`, after waiting `milliseconds`.
std::string failingScript(const std::string& message, int status, int milliseconds = 0) {
  std::string script = milliseconds > 0 ? "@" + helperProgram() + " espera " + std::to_string(milliseconds) + "\r\n" : "";
  return script + "@echo " + message + " 1>&2\r\n@exit /b " + std::to_string(status) + "\r\n";
}
#else
const char* const kScriptName = "imprimir.sh";
std::string failingScript(const std::string& message, int status, int milliseconds = 0) {
  std::string script = milliseconds > 0 ? "sleep " + std::to_string(milliseconds / 1000) + "\n" : "";
  return script + "echo '" + message + "' >&2\nexit " + std::to_string(status) + "\n";
}
#endif

// A print script that prints for longer than any test waits; stopped when
// the test ends.
class SlowScript {
 public:
#ifdef _WIN32
  explicit SlowScript(WindowFixture& f) : f_(f) { f.write(kScriptName, "@" + helperProgram() + " hasta fin.txt\r\n"); }
  // The copy ends when it finds "fin.txt", and removes it as it goes.
  ~SlowScript() {
    f_.write("fin.txt", "");
    if (!QTest::qWaitFor([this] { return !f_.exists("fin.txt"); }, 10000)) qWarning("the slow copy did not end");
  }
#else
  explicit SlowScript(WindowFixture& f) : f_(f) { f.write(kScriptName, "echo $$ > copia.pid\nexec sleep 300\n"); }
  ~SlowScript() {
    const int pid = std::atoi(f_.read("copia.pid").c_str());
    if (pid > 0) ::kill(pid, SIGTERM);
  }
#endif

 private:
  WindowFixture& f_;
};

std::string ledger() {
  std::string text = "EMPRESA DEMO S.A.\r\nLIBRO MAYOR\r\n";
  for (int i = 1; i <= 5; ++i) text += "CAJA  01/03  " + std::to_string(i) + "00,00\r\n";
  return text + "SALDO FINAL: 1500,00\r\n";
}

void openWithLedgerSelected(WindowFixture& f, CountingLauncher& launcher) {
  f.write("MAYOR.TXT", ledger());
  f.write("Pliegomatic.ini", kOneProfileIni);
  f.realBoxes = true;
  f.otherLauncher = &launcher;
  f.open();
  f.control<QListWidget>("List1")->setCurrentRow(0);
}

QWidget* focused(WindowFixture& f) { return QApplication::focusWidget() ? QApplication::focusWidget() : f.window.get(); }

bool captionStarts(WindowFixture& f, const QString& start) {
  return QTest::qWaitFor([&] { return f.control<QLabel>("Label1")->text().startsWith(start); }, 60000);
}

const QString kWaitingCaption = QStringLiteral("Esperando que termine la impresion anterior") + QChar(0x2026);

// The first job leaves its copy printing; the second one waits for it.
void startAWaitingJob(WindowFixture& f, BoxAnswerer& boxes) {
  QTest::keyClick(focused(f), Qt::Key_F10);
  QVERIFY(f.jobEnded());
  QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
  QTest::keyClick(focused(f), Qt::Key_F10);
  QVERIFY(f.window->printing());
  QVERIFY(captionStarts(f, kWaitingCaption));
}

}  // namespace

class PrintJobWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(installSpanishTranslation(*QCoreApplication::instance())); }

  void aWaitForTheEarlierCopyKeepsTheWindowAnsweringAndEscCancelsIt() {
    WindowFixture f;
    CountingLauncher launcher;
    SlowScript script(f);
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    startAWaitingJob(f, boxes);
    const std::string workFile = f.read("WRITE.TXT");
    QVERIFY(f.control<QLabel>("Label1")->text().contains(QStringLiteral("0 min")));

    // The window goes on: timers fire, and it moves.
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(10);
    QVERIFY(QTest::qWaitFor([&] { return ticks >= 5; }, 30000));
    const QPoint moved = f.window->pos() + QPoint(15, 10);
    f.window->move(moved);
    QTRY_COMPARE(f.window->pos(), moved);

    // Another F10 and the print button start nothing.
    QTest::keyClick(focused(f), Qt::Key_F10);
    QTest::mouseClick(f.control<QPushButton>("cmdImprimir"), Qt::LeftButton);
    QVERIFY(f.window->printing());
    QCOMPARE(launcher.started.load(), 1);

    QTest::keyClick(focused(f), Qt::Key_Escape);
    QVERIFY(f.jobEnded());
    QCOMPARE(boxes.texts, (QStringList{"Impresion Finalizada", "Se cancelo la impresion. No se envio nada a la impresora."}));
    QCOMPARE(launcher.started.load(), 1);
    QCOMPARE(f.read("WRITE.TXT"), workFile);
    QCOMPARE(f.control<QLabel>("Label1")->text(), QStringLiteral("MAYOR.TXT: se cancelo la impresion"));
  }

  void salirDuringAWaitStopsTheJobAndSendsNothing() {
    WindowFixture f;
    CountingLauncher launcher;
    SlowScript script(f);
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    startAWaitingJob(f, boxes);

    // The program's own loop, which "Salir" ends.
    QTimer::singleShot(0, [&] { QTest::mouseClick(f.control<QPushButton>("cmdSalir"), Qt::LeftButton); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!f.window->printing());
    QTest::qWait(200);  // anything the stopped job had left to say would show now
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
    QCOMPARE(launcher.started.load(), 1);
    QVERIFY(!f.exists("WRITE2.TXT"));
  }

  void aPrintScriptThatFailsAtOnceIsToldInTheFinalMessage() {
    WindowFixture f;
    CountingLauncher launcher;
    f.write(kScriptName, failingScript("No existe el dispositivo de la impresora", 1));
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);

    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());

    QCOMPARE(boxes.texts.size(), 1);
    const QString told = boxes.texts[0];
    QStringList parts{QStringLiteral("No se pudo imprimir"), QStringLiteral("Codigo de salida: 1"),
                      QStringLiteral("permiso")};
#ifdef _WIN32
    // The Windows launcher tells the exit code; it does not collect the error output.
    parts << QStringLiteral("IMPRIMIR.BAT 1");
#else
    parts << QStringLiteral("imprimir.sh 1") << QStringLiteral("grupo lp")
          << QStringLiteral("No existe el dispositivo de la impresora");
#endif
    for (const QString& part : parts) QVERIFY2(told.contains(part, Qt::CaseSensitive), qPrintable(told));
    QCOMPARE(boxes.buttons, QStringList{"Aceptar"});
  }

  void aPrintScriptThatFailsLaterIsToldByALaterBox_data() {
    QTest::addColumn<int>("status");
    QTest::newRow("fails") << 2;
    QTest::newRow("ends well") << 0;
  }
  void aPrintScriptThatFailsLaterIsToldByALaterBox() {
    QFETCH(int, status);
    WindowFixture f;
    CountingLauncher launcher;
    f.write(kScriptName, failingScript("lp: la impresora no responde", status, 3000));
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);

    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});

    QVERIFY(QTest::qWaitFor([&] { return launcher.endingsTaken.load() == 1; }, 60000));
    if (status == 0) {
      QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
      return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts.size(), 2, 30000);
    QVERIFY2(boxes.texts[1].contains(QStringLiteral("termino con error")), qPrintable(boxes.texts[1]));
    QVERIFY2(boxes.texts[1].contains(QStringLiteral("Codigo de salida: 2")), qPrintable(boxes.texts[1]));
#ifndef _WIN32
    QVERIFY2(boxes.texts[1].contains(QStringLiteral("lp: la impresora no responde")), qPrintable(boxes.texts[1]));
#endif
  }

  // A text viewer that cannot open the file, found through PATH as the real one is.
  void aPreviewThatFailsIsTold() {
#ifdef _WIN32
    QSKIP("The editor is always the system's notepad.exe; it cannot be planted in PATH.");
#endif
    WindowFixture f;
    CountingLauncher launcher;
    f.write("xdg-open", "#!/bin/sh\necho 'xdg-open: no hay aplicacion para text/plain' >&2\nexit 3\n");
    QFile::setPermissions(QString::fromStdString(f.folder() + "/xdg-open"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(f.folder()) + ":" + path);
    openWithLedgerSelected(f, launcher);
    f.control<QCheckBox>("chkPreview")->setChecked(true);
    BoxAnswerer boxes(BoxAnswerer::By::Return);

    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    qputenv("PATH", path);

    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].contains(QStringLiteral("No se pudo mostrar la vista previa")), qPrintable(boxes.texts[0]));
    QVERIFY2(boxes.texts[0].contains(QStringLiteral("Codigo de salida: 3")), qPrintable(boxes.texts[0]));
    QVERIFY2(boxes.texts[0].contains(QStringLiteral("no hay aplicacion")), qPrintable(boxes.texts[0]));
  }

  // After a job that failed, the status line tells so, not the summary of
  // the job before it, which was of another report.
  void theStatusLineTellsHowTheLastJobEnded() {
    WindowFixture f;
    CountingLauncher launcher;
    f.write(kScriptName, failingScript("sin error", 0));
    f.write("IVACOMPRAS.TXT", "EMPRESA DEMO S.A.\r\nLIBRO IVA COMPRAS\r\n01/03  FC-A 1  100,00\r\n");
    openWithLedgerSelected(f, launcher);  // IVACOMPRAS.TXT is row 0, MAYOR.TXT row 1
    auto* reports = f.control<QListWidget>("List1");
    auto* status = f.control<QLabel>("Label1");
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    reports->setCurrentRow(1);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QVERIFY2(status->text().startsWith(QStringLiteral("MAYOR.TXT: 2 paginas")), qPrintable(status->text()));

    f.write(kScriptName, failingScript("la impresora no responde", 1));
    reports->setCurrentRow(0);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(status->text(), QStringLiteral("IVACOMPRAS.TXT: la impresion fallo"));
    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY2(boxes.texts[1].startsWith(QStringLiteral("No se pudo imprimir")), qPrintable(boxes.texts[1]));
  }

  // The caption says that Esc cancels while the report is read, and that the
  // work file is being sent while the print command is watched.
  void theCaptionsSayWhatHappensAndThatEscCancels() {
    WindowFixture f;
    CountingLauncher launcher;
    f.write(kScriptName, failingScript("sin error", 0, 3000));
    std::string book = "EMPRESA DEMO S.A.\r\nLIBRO IVA VENTAS\r\n";
    for (int i = 0; i < 60000; ++i) book += "01/03  FC-A " + std::to_string(i) + "  100,00\r\n";
    f.write("IVAVENTAS.TXT", book);
    f.write("Pliegomatic.ini", kOneProfileIni);
    f.realBoxes = true;
    f.otherLauncher = &launcher;
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    auto* status = f.control<QLabel>("Label1");
    QStringList captions;
    auto* thread = f.window->findChild<JobThread*>();
    QVERIFY(thread);
    // Queued to the window's thread after the window's own handler, so each
    // caption is read once the window has set it.
    connect(thread, &JobThread::progressed, f.window.get(), [&] { captions << status->text(); });
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(QTest::qWaitFor([&] { return status->text().startsWith(QStringLiteral("Enviando")); }, 60000));
    QCOMPARE(status->text(), QStringLiteral("Enviando a la impresora. Aguarde.. Esc cancela la impresion."));
    QVERIFY(f.jobEnded());
    QVERIFY(captions.size() >= 2);
    QCOMPARE(captions.last(), QStringLiteral("Enviando a la impresora. Aguarde.. Esc cancela la impresion."));
    QVERIFY2(captions.first().startsWith(QStringLiteral("Procesando Archivo. Aguarde.. ")), qPrintable(captions.first()));
    QVERIFY2(captions.first().endsWith(QStringLiteral("%. Esc cancela la impresion.")), qPrintable(captions.first()));
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
    QVERIFY2(status->text().endsWith(QStringLiteral(", ancho 192 columnas")), qPrintable(status->text()));
  }

#ifndef _WIN32
  // A folder named in UTF-8, as Linux names it, and a print command that
  // writes UTF-8: both read right in the window, and the record keeps them
  // in Windows-1252, with "?" for what it lacks.
  void textFromTheSystemIsShownAndRecordedInItsEncoding() {
    WindowFixture f(QString::fromUtf8("Oficina Contable A\u00F1o 2024"));
    CountingLauncher launcher;
    f.write(kScriptName, "echo 'la impresora no est\xC3\xA1 disponible (cola inv\xC3\xA1lida \xD0\x96)' >&2\nexit 1\n");
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QVERIFY2(f.control<QGroupBox>("Frame1")->title().contains(QString::fromUtf8("Oficina Contable A\u00F1o 2024")),
             qPrintable(f.control<QGroupBox>("Frame1")->title()));

    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].contains(QString::fromUtf8("no est\u00E1 disponible (cola inv\u00E1lida \u0416)")),
             qPrintable(boxes.texts[0]));
    QVERIFY2(boxes.texts[0].contains(QString::fromUtf8("A\u00F1o 2024")), qPrintable(boxes.texts[0]));

    const std::string record = f.read(kRecordFileName);
    QVERIFY2(record.find("no est\xE1 disponible (cola inv\xE1lida ?)") != std::string::npos, record.c_str());
    QVERIFY2(record.find("Oficina Contable A\xF1o 2024") != std::string::npos, record.c_str());
    QVERIFY(record.find("\xC3") == std::string::npos);
  }

  // Without xdg-open the user is told that it is missing and what to install.
  void aPreviewWithoutXdgOpenSaysWhatToInstall() {
    WindowFixture f;
    CountingLauncher launcher;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(f.file("sin-programas")));
    openWithLedgerSelected(f, launcher);
    f.control<QCheckBox>("chkPreview")->setChecked(true);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    qputenv("PATH", path);
    QCOMPARE(boxes.texts, QStringList{"No se pudo abrir el visor de texto: el programa xdg-open no esta instalado. "
                                      "Instale el paquete xdg-utils y vuelva a intentar la vista previa."});
  }

  // The script the program creates copies only to a printer device: where
  // the port's device is missing it fails with its reason, and creates
  // nothing (as root a plain copy would create /dev/lpN as a file).
  void theDefaultScriptRefusesAMissingDevice() {
    const std::string device = "/dev/lp8";
    QVERIFY2(!QFile::exists(QString::fromStdString(device)), "the test needs a machine without /dev/lp8");
    WindowFixture f;
    CountingLauncher launcher;
    f.write("Pliegomatic.ini", "[EPSON]\r\nRENGLONES POR PAGINA=66\r\nRENGLONES DEL ENCABEZADO=2\r\n"
                               "RENGLONES ENTRE PAGINAS=0\r\nLPT=9\r\n");
    f.write("MAYOR.TXT", ledger());
    f.realBoxes = true;
    f.otherLauncher = &launcher;
    f.open();
    f.control<QListWidget>("List1")->setCurrentRow(0);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    const bool created = QFile::exists(QString::fromStdString(device));
    if (created) QFile::remove(QString::fromStdString(device));
    QVERIFY(!created);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("No se pudo imprimir")), qPrintable(boxes.texts[0]));
    QVERIFY2(boxes.texts[0].contains(QStringLiteral("No hay una impresora en /dev/lp8: no existe o no es un dispositivo.")),
             qPrintable(boxes.texts[0]));
    QCOMPARE(f.control<QLabel>("Label1")->text(), QStringLiteral("MAYOR.TXT: la impresion fallo"));
  }

  // The same script line pointed at a character device copies to it.
  void theDefaultScriptCopiesToACharacterDevice() {
    WindowFixture f;
    CountingLauncher launcher;
    f.write(kScriptName, QString::fromLatin1(kPrintScriptLine).replace("/dev/lp$(($1 - 1))", "/dev/null").toStdString());
    openWithLedgerSelected(f, launcher);
    BoxAnswerer boxes(BoxAnswerer::By::Return);
    QTest::keyClick(focused(f), Qt::Key_F10);
    QVERIFY(f.jobEnded());
    QTest::qWait(600);  // a late failure would be told now
    QCOMPARE(boxes.texts, QStringList{"Impresion Finalizada"});
  }
#endif
};

QTEST_MAIN(PrintJobWindowTest)
#include "test_print_job_window.moc"
