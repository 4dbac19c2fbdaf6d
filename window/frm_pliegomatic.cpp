#include "window/frm_pliegomatic.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "common/text.hpp"
#include "platform/files.hpp"
#include "printing/job_captions.hpp"
#include "printing/print_record.hpp"
#include "window/destination_box.hpp"
#include "window/print_options_dialog.hpp"
#include "window/qt_dialogs.hpp"
#include "window/qt_text.hpp"
#include "window/system_settings.hpp"

namespace pliego {

namespace {

// How often the window looks for print and preview commands that ended.
constexpr int kEndingsLook = 500;
// How many of the report's last prints the options dialog shows.
constexpr std::size_t kRecordLinesShown = 12;

CheckState fromQtState(Qt::CheckState state) {
  switch (state) {
    case Qt::Unchecked: return CheckState::Unchecked;
    case Qt::PartiallyChecked: return CheckState::Grayed;
    case Qt::Checked: break;
  }
  return CheckState::Checked;
}

std::string selectedText(const QListWidget* list) {
  const auto selected = list->selectedItems();
  return selected.isEmpty() ? std::string() : fromQt(selected.first()->text());
}

}  // namespace

frmPliegomatic::frmPliegomatic(WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      givenFolder_(std::move(services.folder)),
      numberFormat_(services.numberFormat.value_or(numberFormatOf(QLocale::system()))) {
  if (!services.dialogs) ownDialogs_ = std::make_unique<QtDialogs>(this);
  if (!services.launcher) ownLauncher_ = std::make_unique<SystemLauncher>();
  if (!services.spooler) ownSpooler_ = systemSpooler();
  dialogs_ = services.dialogs ? services.dialogs : ownDialogs_.get();
  launcher_ = services.launcher ? services.launcher : ownLauncher_.get();
  spooler_ = services.spooler ? services.spooler : ownSpooler_.get();

  createControls();
  notice_ = Label1->text();
  connectHandlers();
  connectJobThread();
  qApp->installEventFilter(this);
  Form_Load();
  List1->setFocus();
  centreOnScreen();
}

// The job's work uses the print job, which goes before the window's children.
frmPliegomatic::~frmPliegomatic() {
  jobThread_->stop();
  qApp->removeEventFilter(this);
}

void frmPliegomatic::connectHandlers() {
  connect(cmdImprimir, &QPushButton::clicked, this, [this] { cmdImprimir_Click(); });
  connect(cmdSalir, &QPushButton::clicked, this, [this] { cmdSalir_Click(); });
  connect(cmdOpciones, &QPushButton::clicked, this, [this] { cmdOpciones_Click(); });
  connect(cmdConfigurarImpresora, &QPushButton::clicked, this, [this] { cmdConfigurarImpresora_Click(); });
  connect(cmdAgregarImpresora, &QPushButton::clicked, this, [this] { cmdAgregarImpresora_Click(); });
  connect(cmdGuardarImpresora, &QPushButton::clicked, this, [this] { cmdGuardarImpresora_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  // A profile chosen by mouse, keyboard or program; emptying the list selects nothing.
  // The status line and the options button follow the report selected.
  connect(List1, &QListWidget::itemSelectionChanged, this, &frmPliegomatic::showStatusLine);
  connect(List2, &QListWidget::itemSelectionChanged, this, [this] {
    if (!List2->selectedItems().isEmpty()) List2_Click();
  });
  // The user toggles the page-number box between checked and unchecked only;
  // grayed comes from a stored profile.
  connect(chkNumeroPagina, &QCheckBox::stateChanged, this, [this](int state) {
    if (state != Qt::PartiallyChecked) chkNumeroPagina->setTristate(false);
  });
}

void frmPliegomatic::connectJobThread() {
  jobThread_ = new JobThread(this);
  connect(jobThread_, &JobThread::progressed, this, &frmPliegomatic::showJobProgress);
  connect(jobThread_, &JobThread::waiting, this, &frmPliegomatic::showJobWaiting);
  connect(jobThread_, &JobThread::sending, this, &frmPliegomatic::showJobSending);
  connect(jobThread_, &JobThread::finished, this, &frmPliegomatic::jobFinished);
  // A print or preview command may fail after its job has ended.
  auto* endings = new QTimer(this);
  connect(endings, &QTimer::timeout, this, &frmPliegomatic::tellLateFailures);
  endings->start(kEndingsLook);
}

// Start-up, in this order: title, folder, report list, settings file, frame
// caption, profile list, first profile.
void frmPliegomatic::Form_Load() {
  setWindowTitle(windowTitle() + QStringLiteral(" v%1.%2.%3")
                                     .arg(PLIEGO_VERSION_MAJOR)
                                     .arg(PLIEGO_VERSION_MINOR)
                                     .arg(PLIEGO_VERSION_PATCH));
  mRuta_ = givenFolder_ ? withoutTrailingSeparator(*givenFolder_) : executableFolder();
  loadReportList();

  mIni_ = std::make_unique<cInifile>();
  mIni_->setNumberFormat(numberFormat_);
  mIni_->Path(joinPath(mRuta_, "Pliegomatic.ini"));
  profiles_ = std::make_unique<PrinterProfiles>(*this, *dialogs_, *mIni_, numberFormat_);
  printJob_ = std::make_unique<PrintJob>(*this, *dialogs_, *launcher_, mRuta_, numberFormat_, spooler_);

  Frame1->setTitle(QStringLiteral("Configuracion de Impresoras (") + toQtSystem(mIni_->Path()) + QStringLiteral(")"));
  profiles_->CargarImpresoras();
  profiles_->tellIfUnreadable();
  if (List2->count() > 0) List2->setCurrentRow(0);
}

// A folder that cannot be read leaves the report list empty; the user is
// told, and the window still comes up.
void frmPliegomatic::loadReportList() {
  if (CargarArchivos(*this, mRuta_)) tellFolderUnreadable();
}

void frmPliegomatic::tellFolderUnreadable() {
  if (folderUnreadable_) return;
  folderUnreadable_ = true;
  dialogs_->inform("No se pudo leer la carpeta " + mRuta_ + ". La lista de archivos queda vacia.");
}

// Shows the folder as it is now. The list is left alone when nothing
// changed; otherwise the selected name stays selected while its file is there.
void frmPliegomatic::refreshReportList() {
  std::optional<std::vector<std::string>> reports;
  if (reportsInFolder(mRuta_, reports)) {
    tellFolderUnreadable();
    return;
  }
  folderUnreadable_ = false;
  showReports(reports.value_or(std::vector<std::string>{}));
}

void frmPliegomatic::showReports(const std::vector<std::string>& names) {
  QStringList wanted;
  for (const std::string& name : names) wanted << toQt(name);
  QStringList shown;
  for (int row = 0; row < List1->count(); ++row) shown << List1->item(row)->text();
  if (wanted == shown) return;
  const QString selected = toQt(selectedReport());
  List1->clear();
  List1->addItems(wanted);
  if (!selected.isEmpty() && wanted.contains(selected)) List1->setCurrentRow(static_cast<int>(wanted.indexOf(selected)));
}

// The accounting program may have written a report while the user was in it.
void frmPliegomatic::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    QMetaObject::invokeMethod(this, &frmPliegomatic::refreshReportList, Qt::QueuedConnection);
}

void frmPliegomatic::centreOnScreen() {
  if (const QScreen* where = screen())
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), where->availableGeometry()));
}

void frmPliegomatic::Form_KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
  switch (key) {
    case Qt::Key_F5:
      refreshReportList();
      List1->setFocus(Qt::ShortcutFocusReason);
      break;
    case Qt::Key_F9: List2->setFocus(Qt::ShortcutFocusReason); break;
    case Qt::Key_F10: cmdImprimir_Click(); break;
    case Qt::Key_Escape:
      if (printing()) jobThread_->cancel();
      break;
    case Qt::Key_F11: cmdOpciones_Click(); break;
    default: break;
  }
}

// Qt offers a key that a control leaves unused to its containers in turn,
// so the window sees one key press several times. It acts on it once, where
// it first arrives. A box that the shortcut opened and closed may have taken
// the focus away meanwhile: the key on its way on to the containers is still
// the same key, not a new one.
bool frmPliegomatic::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !isInThisWindow(watched)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool onItsWay = event == keyOnItsWay_.event && key->key() == keyOnItsWay_.key &&
                        watched == keyOnItsWay_.nextContainer;
  keyOnItsWay_ = {event, key->key(), static_cast<QWidget*>(watched)->parentWidget()};
  if (!onItsWay) Form_KeyDown(key->key(), key->modifiers());
  return false;  // the key goes on to the focused control as usual
}

bool frmPliegomatic::isInThisWindow(QObject* watched) const {
  const auto* widget = qobject_cast<QWidget*>(watched);
  return widget && widget->window() == this;
}

bool frmPliegomatic::printing() const { return jobThread_ && jobThread_->running(); }

// The fields are read here, once; the work runs on its own thread.
void frmPliegomatic::cmdImprimir_Click() {
  if (!printJob_ || printing()) return;
  const JobFields fields = readJobFields(*this);
  if (!ValidarDatos(fields)) return;
  startJob(printJob_->prepare(fields));
}

bool frmPliegomatic::ValidarDatos(const JobFields& fields) { return printJob_->accepts(fields); }

void frmPliegomatic::startJob(std::optional<JobSettings> settings) {
  if (!settings || printing()) return;
  previewing_ = settings->preview;
  Label1->setText(toQtSystem(kProcessingCaption));
  Label1->repaint();  // shown at once, even when a short job ends before the next paint
  jobThread_->start(*printJob_, std::move(*settings));
}

// Once the report is read the work file goes out, and the command is
// watched for its first seconds.
void frmPliegomatic::showJobProgress(int percent) {
  if (printing()) Label1->setText(toQtSystem(progressCaption(percent, previewing_)));
}

void frmPliegomatic::showJobWaiting(int what, int minutes) {
  if (printing()) Label1->setText(toQtSystem(waitingCaption(WaitingFor(what), minutes)));
}

void frmPliegomatic::showJobSending(int percent) {
  if (printing()) Label1->setText(toQtSystem(sendingCaption(percent)));
}

// Back on this thread: the status line tells how the job ended, then the
// final message.
void frmPliegomatic::jobFinished() {
  printJob_->finish(jobThread_->settings(), jobThread_->takeOutcome());
  showStatusLine();
}

// Between jobs: the options waiting for the selected report, else how the
// last job ended, else the notice. The options button shows them too.
void frmPliegomatic::showStatusLine() {
  if (!printJob_ || printing()) return;
  const std::string report = selectedReport();
  const auto options = trimSpaces(report).empty() ? std::nullopt : printJob_->nextOptionsFor(report);
  const QString pending = options ? toQtSystem(pendingOptionsText(trimSpaces(report), *options)) : QString();
  Label1->setText(options ? pending : lastJobLine_.isEmpty() ? notice_ : lastJobLine_);
  Label1->setToolTip(Label1->text());
  cmdOpciones->setText(toQt(optionsButtonText(options)));
  cmdOpciones->setToolTip(pending);
  QFont font = cmdOpciones->font();
  font.setBold(options.has_value());
  cmdOpciones->setFont(font);
}

// Told as soon as the window is idle: no job running, no box open.
void frmPliegomatic::tellLateFailures() {
  if (!printJob_ || printing() || tellingLateFailures_ || QApplication::activeModalWidget()) return;
  tellingLateFailures_ = true;
  for (const std::string& message : printJob_->lateFailures()) dialogs_->inform(message);
  tellingLateFailures_ = false;
}

// Ends the program at once: no question, nothing saved. A job still running
// stops where it is, and nothing more is sent to the printer.
void frmPliegomatic::cmdSalir_Click() {
  jobThread_->stop();
  QCoreApplication::exit(0);
}

void frmPliegomatic::closeEvent(QCloseEvent* event) {
  jobThread_->stop();
  QWidget::closeEvent(event);
}
// The dialog starts from the options already set for this report, else from
// the folio that follows the report's last book in the record, else from 1.
void frmPliegomatic::cmdOpciones_Click() {
  const std::string report = selectedReport();
  if (trimSpaces(report).empty()) {
    dialogs_->inform("Debe seleccionar el archivo a imprimir");
    List1->setFocus();
    return;
  }
  PageSelection shown;
  if (const auto set = printJob_->nextOptionsFor(report))
    shown = *set;
  else
    shown.firstFolio = offeredFolio(mRuta_, report).value_or(1);
  PrintOptionsDialog dialog(report, shown, recordsOf(mRuta_, report, kRecordLinesShown), *dialogs_, this);
  dialog.addPdfOptions(pdfOptionsShown(report));
  const int answer = dialog.exec();
  if (answer == QDialog::Accepted) keepPdfOptions(dialog.pdf());
  // The whole book from folio 1, printed, is what a print without options is.
  if (answer == QDialog::Accepted && (dialog.selection() != PageSelection{} || dialog.pdf().use != PdfUse::None))
    printJob_->setNextOptions(report, dialog.selection(), dialog.pdf());
  else if (answer == QDialog::Accepted || answer == PrintOptionsDialog::Cleared)
    printJob_->setNextOptions(report, std::nullopt);
  showStatusLine();
}

// The PDF asked for this report and not yet made, else none, with the
// folder and paper the selected profile keeps.
PdfRequest frmPliegomatic::pdfOptionsShown(const std::string& report) const {
  if (const auto set = printJob_->nextPdfFor(report)) return *set;
  return pdfSettingsOf(*mIni_, selectedProfile(), mRuta_);
}

// The folder and paper go into the selected profile's section, kept for
// the next time; a failure is told, and the job uses them all the same.
void frmPliegomatic::keepPdfOptions(const PdfRequest& pdf) {
  if (pdf.use == PdfUse::None || keepPdfSettings(*mIni_, selectedProfile(), pdf)) return;
  dialogs_->inform("No se pudo guardar la carpeta de los PDF en " + mIni_->Path() +
                   ". Se usara solo para esta impresion.");
}

void frmPliegomatic::List2_Click() {
  if (profiles_) profiles_->selectProfile();
}
void frmPliegomatic::cmdAgregarImpresora_Click() { profiles_->addProfile(); }
void frmPliegomatic::cmdGuardarImpresora_Click() { profiles_->saveProfile(); }
void frmPliegomatic::Command1_Click() { profiles_->removeProfile(); }

// PrintView

std::string frmPliegomatic::selectedReport() const { return selectedText(List1); }
std::string frmPliegomatic::destination() const { return fromQt(cboDestino->text()); }
PdfRequest frmPliegomatic::profilePdf() const { return pdfSettingsOf(*mIni_, selectedProfile(), mRuta_); }
std::string frmPliegomatic::linesPerPage() const { return fromQt(txtRenglonesPagina->text()); }
std::string frmPliegomatic::headerLines() const { return fromQt(txtRenglonesEncabezado->text()); }
std::string frmPliegomatic::linesBetweenPages() const { return fromQt(txtEntrePaginas->text()); }
std::string frmPliegomatic::portNumber() const { return fromQt(txtLPT->text()); }
CheckState frmPliegomatic::pageNumberBox() const { return fromQtState(chkNumeroPagina->checkState()); }
CheckState frmPliegomatic::previewBox() const { return fromQtState(chkPreview->checkState()); }
CheckState frmPliegomatic::vatTotalsBox() const { return fromQtState(chkTotalesDeIVA->checkState()); }
std::string frmPliegomatic::statusCaption() const { return fromQtSystem(Label1->text()); }

// The print job tells how it ended; the status line keeps it until the next.
void frmPliegomatic::showStatusCaption(const std::string& caption) {
  lastJobLine_ = toQtSystem(caption);
  Label1->setText(lastJobLine_);
  Label1->repaint();
}

void frmPliegomatic::moveFocus(FocusTarget target) {
  switch (target) {
    case FocusTarget::ReportList: List1->setFocus(); break;
    case FocusTarget::ProfileList: List2->setFocus(); break;
    case FocusTarget::HeaderLinesField: txtRenglonesEncabezado->setFocus(); break;
    case FocusTarget::LinesPerPageField: txtRenglonesPagina->setFocus(); break;
    case FocusTarget::BetweenPagesField: txtEntrePaginas->setFocus(); break;
    case FocusTarget::Destination: cboDestino->setFocus(); break;
  }
}

// ProfilesView

void frmPliegomatic::clearProfiles() { List2->clear(); }
void frmPliegomatic::addProfile(const std::string& name) { List2->addItem(toQt(name)); }
std::string frmPliegomatic::selectedProfile() const { return selectedText(List2); }

QLineEdit* frmPliegomatic::field(ProfileField which) const {
  switch (which) {
    case ProfileField::LinesPerPage: return txtRenglonesPagina;
    case ProfileField::HeaderLines: return txtRenglonesEncabezado;
    case ProfileField::LinesBetweenPages: return txtEntrePaginas;
    case ProfileField::Port:
    case ProfileField::Destination: break;
  }
  return txtLPT;
}

std::string frmPliegomatic::fieldText(ProfileField which) const {
  return which == ProfileField::Destination ? destination() : fromQt(field(which)->text());
}

void frmPliegomatic::setFieldText(ProfileField which, const std::string& text) {
  if (which == ProfileField::Destination)
    cboDestino->setText(toQt(text));
  else
    field(which)->setText(toQt(text));
}

void frmPliegomatic::setPageNumberBox(CheckState state) {
  chkNumeroPagina->setTristate(state == CheckState::Grayed);
  chkNumeroPagina->setCheckState(state == CheckState::Grayed    ? Qt::PartiallyChecked
                                 : state == CheckState::Checked ? Qt::Checked
                                                                : Qt::Unchecked);
}

// ReportListBox

void frmPliegomatic::clearReports() { List1->clear(); }
void frmPliegomatic::addReport(const std::string& name) { List1->addItem(toQt(name)); }

}  // namespace pliego
