#pragma once
// frmPliegomatic: the program's only window. It owns the controls and the
// form-level state (mRuta, mIni and the print job that keeps mEncabezado and
// mAnchoMaximo), and shows itself to the core through its view interfaces.
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs.hpp"
#include "common/numbers.hpp"
#include "platform/launcher.hpp"
#include "printing/print_job.hpp"
#include "printing/print_view.hpp"
#include "profiles/printer_profiles.hpp"
#include "profiles/profiles_view.hpp"
#include "reports/reports.hpp"
#include "settings/cinifile.hpp"
#include "platform/print_spooler.hpp"
#include "window/job_thread.hpp"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pliego {

// What the window uses from outside; tests pass their own, the program
// leaves them empty and gets the real ones.
struct WindowServices {
  std::optional<std::string> folder;          // the executable's folder when empty
  Dialogs* dialogs = nullptr;                 // Qt's message boxes when null
  ProgramLauncher* launcher = nullptr;        // the system's launcher when null
  std::optional<NumberFormat> numberFormat;   // the system locale's when empty
  PrintSpooler* spooler = nullptr;            // the system's print spooler when null
};

class frmPliegomatic : public QWidget, public PrintView, public ProfilesView, public ReportListBox {
  Q_OBJECT

 public:
  // Builds the controls and runs Form_Load.
  explicit frmPliegomatic(WindowServices services = {}, QWidget* parent = nullptr);
  ~frmPliegomatic() override;

  const std::string& mRuta() const { return mRuta_; }
  const cInifile& mIni() const { return *mIni_; }
  const PrintJob& printJob() const { return *printJob_; }
  // A print job's work is running; F10 and the print button start nothing.
  bool printing() const;

  // Event handlers, under the names the rest of the program knows them by.
  void Form_KeyDown(int key, Qt::KeyboardModifiers shift);
  void cmdImprimir_Click();
  // True when the fields the job read let it run; otherwise the user has
  // been told why and the focus is on the field to mend.
  bool ValidarDatos(const JobFields& fields);
  // F11 or "F11 - Opciones...": the first folio and the pages of the next print.
  void cmdOpciones_Click();
  // "Configurar impresora...": the selected profile's printer set-up.
  void cmdConfigurarImpresora_Click();
  // Runs a job that validation and the reading of the fields let through.
  void startJob(std::optional<JobSettings> settings);
  void cmdSalir_Click();
  void List2_Click();
  void cmdAgregarImpresora_Click();
  void cmdGuardarImpresora_Click();
  void Command1_Click();
  // Reads the folder's reports again (F5, and the window activated again).
  void refreshReportList();

  // PrintView
  std::string selectedReport() const override;
  std::string destination() const override;
  PdfRequest profilePdf() const override;
  std::string linesPerPage() const override;
  std::string headerLines() const override;
  std::string linesBetweenPages() const override;
  std::string portNumber() const override;
  CheckState pageNumberBox() const override;
  CheckState previewBox() const override;
  CheckState vatTotalsBox() const override;
  std::string statusCaption() const override;
  void showStatusCaption(const std::string& caption) override;
  void moveFocus(FocusTarget target) override;
  PrinterSetupTexts profilePrinterSetup() const override;

  // ProfilesView
  void clearProfiles() override;
  void addProfile(const std::string& name) override;
  std::string selectedProfile() const override;
  std::string fieldText(ProfileField field) const override;
  void setFieldText(ProfileField field, const std::string& text) override;
  void setPageNumberBox(CheckState state) override;
  std::optional<PrinterSetupTexts> printerSetup() const override;
  void setPrinterSetup(const PrinterSetupTexts& texts) override;

  // ReportListBox
  void clearReports() override;
  void addReport(const std::string& name) override;

 protected:
  // Key preview: sees every key pressed in the window before its control does.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  void createReportList();
  void createProfileFrame();
  void createBottomPanel();
  void setTabOrder();
  void connectHandlers();
  void Form_Load();
  void loadReportList();
  void tellFolderUnreadable();
  void showReports(const std::vector<std::string>& names);
  void centreOnScreen();
  bool isInThisWindow(QObject* watched) const;
  QLineEdit* field(ProfileField which) const;
  void connectJobThread();
  PdfRequest pdfOptionsShown(const std::string& report) const;
  void keepPdfOptions(const PdfRequest& pdf);
  void showJobProgress(int percent);
  void showJobWaiting(int what, int minutes);
  void showJobSending(int percent);
  void jobFinished();
  void showStatusLine();
  void tellLateFailures();

  std::unique_ptr<Dialogs> ownDialogs_;
  std::unique_ptr<ProgramLauncher> ownLauncher_;
  std::unique_ptr<PrintSpooler> ownSpooler_;
  PrintSpooler* spooler_;
  Dialogs* dialogs_;
  ProgramLauncher* launcher_;
  std::optional<std::string> givenFolder_;
  NumberFormat numberFormat_;
  // The key press last seen by the key preview, and the container Qt offers
  // it to next if the control leaves it unused.
  struct KeyOnItsWay {
    const QEvent* event = nullptr;
    int key = 0;
    const QWidget* nextContainer = nullptr;
  } keyOnItsWay_;

  std::string mRuta_;
  bool folderUnreadable_ = false;  // told once, until the folder reads again
  std::unique_ptr<cInifile> mIni_;
  std::unique_ptr<PrinterProfiles> profiles_;
  std::unique_ptr<PrintJob> printJob_;
  JobThread* jobThread_ = nullptr;
  bool previewing_ = false;  // the job running shows its pages on the screen
  QString lastJobLine_;
  QString notice_;  // Label1's caption between jobs      // how the last job ended, "" before the first
  bool tellingLateFailures_ = false;
  PrinterSetupTexts printerSetup_;  // the selected profile's, as loaded or set

  QLabel* Label2_[7] = {};
  QListWidget* List1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLineEdit* txtRenglonesPagina = nullptr;
  QLineEdit* txtRenglonesEncabezado = nullptr;
  QLineEdit* txtEntrePaginas = nullptr;
  QLineEdit* txtLPT = nullptr;
  QCheckBox* chkNumeroPagina = nullptr;
  QListWidget* List2 = nullptr;
  QPushButton* cmdAgregarImpresora = nullptr;
  QPushButton* cmdGuardarImpresora = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* cmdOpciones = nullptr;
  class DestinationBox* cboDestino = nullptr;
  QPushButton* cmdConfigurarImpresora = nullptr;
  QCheckBox* chkTotalesDeIVA = nullptr;
  QWidget* Picture1 = nullptr;
  QCheckBox* chkPreview = nullptr;
  QPushButton* cmdImprimir = nullptr;
  QPushButton* cmdSalir = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label1 = nullptr;
};

}  // namespace pliego
