#include "window/print_options_dialog.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "window/qt_text.hpp"

namespace pliego {

namespace {

QLineEdit* numberBox(QWidget* parent, const char* name, const std::string& text) {
  auto* box = new QLineEdit(toQt(text), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setMaximumWidth(90);
  return box;
}

std::string textOf(const std::optional<std::int64_t>& page) { return page ? std::to_string(*page) : std::string(); }

// The record's columns the table shows; the report is the dialog's own.
const char* const kShownColumns[] = {"Fecha y hora", "Estacion", "Perfil", "Folios", "Paginas", "Salida", "Resultado"};
// The widest a column other than the date and the outcome may take, in pixels.
constexpr int kWidestColumn = 120;

QStringList shownFields(const PrintRecord& record) {
  const std::vector<std::string> fields = recordFields(record);
  const auto column = [&](std::string_view name) {
    const auto& names = recordColumns();
    return toQt(fields[static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin())]);
  };
  QString folios = column("Primer folio");
  if (record.pages > 1) folios += QStringLiteral(" a ") + column("Ultimo folio");
  QString pages = column("Paginas");
  if (!record.wholeBook()) pages += QStringLiteral(" (pedidas ") + column("Paginas pedidas") + QStringLiteral(")");
  return {column("Fecha y hora"), column("Estacion"), column("Perfil"), folios, pages, column("Salida"),
          column("Resultado")};
}

// What the row does not show, told when the pointer rests on it.
QString rowDetails(const PrintRecord& record) {
  return toQt("Usuario: " + record.user + ". Renglones por pagina: " + record.linesPerPage +
              ". Renglones enviados: " + std::to_string(record.lines) + ".");
}

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(const std::string& report, const PageSelection& shown,
                                       const std::vector<PrintRecord>& records, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("PrintOptionsDialog"));
  setWindowTitle(QStringLiteral("Opciones de impresion"));

  auto* reportLabel = new QLabel(QStringLiteral("Reporte: ") + toQt(report), this);
  reportLabel->setObjectName(QStringLiteral("lblReporte"));
  txtPrimerFolio = numberBox(this, "txtPrimerFolio", std::to_string(shown.firstFolio));
  txtDesdePagina = numberBox(this, "txtDesdePagina", textOf(shown.from));
  txtHastaPagina = numberBox(this, "txtHastaPagina", textOf(shown.to));

  auto* pages = new QHBoxLayout;
  pages->addWidget(txtDesdePagina);
  auto* toLabel = new QLabel(QStringLiteral("&hasta"), this);
  toLabel->setBuddy(txtHastaPagina);
  pages->addWidget(toLabel);
  pages->addWidget(txtHastaPagina);
  pages->addWidget(new QLabel(QStringLiteral("(vacias: el libro completo)"), this));
  pages->addStretch();

  auto* form = new QFormLayout;
  form->addRow(reportLabel);
  form->addRow(QStringLiteral("Primer &folio"), txtPrimerFolio);
  auto* fromLabel = new QLabel(QStringLiteral("Paginas &desde"), this);
  fromLabel->setBuddy(txtDesdePagina);  // the row holds a layout, which takes no focus itself
  form->addRow(fromLabel, pages);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* clear = buttons->addButton(QStringLiteral("&Quitar opciones"), QDialogButtonBox::ResetRole);
  clear->setObjectName(QStringLiteral("cmdQuitarOpciones"));
  clear->setToolTip(QStringLiteral("La proxima impresion de este reporte sale completa, desde el folio 1."));
  connect(clear, &QPushButton::clicked, this, [this] { done(Cleared); });
  connect(buttons, &QDialogButtonBox::accepted, this, &PrintOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrintOptionsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Ultimas impresiones de este reporte:"), this));
  lstRegistro = makeRecordTable(records);
  layout->addWidget(lstRegistro);
  auto* noRecords = new QLabel(QStringLiteral("No hay impresiones anotadas de este reporte."), this);
  noRecords->setObjectName(QStringLiteral("lblSinRegistro"));
  layout->addWidget(noRecords, 1, Qt::AlignTop);
  noRecords->setVisible(records.empty());
  lstRegistro->setVisible(!records.empty());
  layout->addWidget(buttons);
  resize(860, 380);

  setTabOrder(txtPrimerFolio, txtDesdePagina);
  setTabOrder(txtDesdePagina, txtHastaPagina);
  txtPrimerFolio->setFocus();
  txtPrimerFolio->selectAll();
}

QTableWidget* PrintOptionsDialog::makeRecordTable(const std::vector<PrintRecord>& records) {
  auto* table = new QTableWidget(static_cast<int>(records.size()), static_cast<int>(std::size(kShownColumns)), this);
  table->setObjectName(QStringLiteral("lstRegistro"));
  QStringList names;
  for (const char* name : kShownColumns) names << QString::fromLatin1(name);
  table->setHorizontalHeaderLabels(names);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setFocusPolicy(Qt::ClickFocus);
  table->setWordWrap(false);
  table->setTextElideMode(Qt::ElideRight);
  for (int row = 0; row < table->rowCount(); ++row) {
    const PrintRecord& record = records[static_cast<std::size_t>(row)];
    const QStringList fields = shownFields(record);
    for (int column = 0; column < table->columnCount(); ++column) {
      auto* item = new QTableWidgetItem(fields[column]);
      item->setToolTip(column + 1 == table->columnCount() ? fields[column] : rowDetails(record));
      table->setItem(row, column, item);
    }
  }
  fitRecordColumns(table);
  table->scrollToBottom();
  return table;
}

void PrintOptionsDialog::addPdfOptions(const PdfRequest& shown) {
  auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
  FramePdf = makePdfGroup(shown);
  layout->insertWidget(1, FramePdf);  // under the pages, above the record
  resize(width(), height() + FramePdf->sizeHint().height());
}

QGroupBox* PrintOptionsDialog::makePdfGroup(const PdfRequest& shown) {
  auto* group = new QGroupBox(QStringLiteral("Copia en PDF"), this);
  group->setObjectName(QStringLiteral("FramePdf"));
  optSinPdf = new QRadioButton(QStringLiteral("&Sin PDF"), group);
  optSinPdf->setObjectName(QStringLiteral("optSinPdf"));
  optPdfEnLugar = new QRadioButton(QStringLiteral("PDF en &lugar de la impresora"), group);
  optPdfEnLugar->setObjectName(QStringLiteral("optPdfEnLugar"));
  optPdfAdemas = new QRadioButton(QStringLiteral("PDF &ademas de la impresora"), group);
  optPdfAdemas->setObjectName(QStringLiteral("optPdfAdemas"));
  (shown.use == PdfUse::InsteadOfPrinter ? optPdfEnLugar
   : shown.use == PdfUse::WithPrint      ? optPdfAdemas
                                         : optSinPdf)
      ->setChecked(true);
  auto* uses = new QHBoxLayout;
  uses->addWidget(optSinPdf);
  uses->addWidget(optPdfEnLugar);
  uses->addWidget(optPdfAdemas);
  uses->addStretch();

  txtCarpetaPdf = new QLineEdit(QFile::decodeName(QByteArray::fromStdString(shown.folder)), group);
  txtCarpetaPdf->setObjectName(QStringLiteral("txtCarpetaPdf"));
  auto* choose = new QPushButton(QStringLiteral("&Elegir..."), group);
  choose->setObjectName(QStringLiteral("cmdCarpetaPdf"));
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Carpeta de los PDF"),
                                                             txtCarpetaPdf->text());
    if (!folder.isEmpty()) txtCarpetaPdf->setText(folder);
  });
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(txtCarpetaPdf);
  folderRow->addWidget(choose);

  cboHojaPdf = new QComboBox(group);
  cboHojaPdf->setObjectName(QStringLiteral("cboHojaPdf"));
  for (const PdfPaper paper : allPapers()) {
    cboHojaPdf->addItem(toQt(paperName(paper)), static_cast<int>(paper));
    if (paper == shown.paper) cboHojaPdf->setCurrentIndex(cboHojaPdf->count() - 1);
  }

  auto* form = new QFormLayout(group);
  form->addRow(uses);
  auto* folderLabel = new QLabel(QStringLiteral("&Carpeta"), group);
  folderLabel->setBuddy(txtCarpetaPdf);
  form->addRow(folderLabel, folderRow);
  form->addRow(QStringLiteral("Ho&ja"), cboHojaPdf);
  return group;
}

bool PrintOptionsDialog::readPdf() {
  if (!FramePdf) return true;
  PdfRequest read;
  read.use = optPdfEnLugar->isChecked() ? PdfUse::InsteadOfPrinter
             : optPdfAdemas->isChecked() ? PdfUse::WithPrint
                                         : PdfUse::None;
  read.folder = QFile::encodeName(txtCarpetaPdf->text().trimmed()).toStdString();  // a path: the system's encoding
  read.paper = static_cast<PdfPaper>(cboHojaPdf->currentData().toInt());
  if (read.use != PdfUse::None && read.folder.empty()) {
    dialogs_.inform("Falta indicar la carpeta de los PDF.");
    txtCarpetaPdf->setFocus();
    return false;
  }
  pdf_ = read;
  return true;
}

// Every column is seen without scrolling sideways: each as wide as its
// texts up to a limit, the outcome in what is left, cut short (whole when
// the pointer rests on it).
void PrintOptionsDialog::fitRecordColumns(QTableWidget* table) {
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* header = table->horizontalHeader();
  const int outcome = table->columnCount() - 1;
  for (int column = 0; column < outcome; ++column) {
    table->resizeColumnToContents(column);
    if (column > 0) table->setColumnWidth(column, std::min(table->columnWidth(column), kWidestColumn));
  }
  table->resizeRowsToContents();
  header->setSectionResizeMode(outcome, QHeaderView::Stretch);
}

void PrintOptionsDialog::accept() {
  SelectionProblem problem;
  const auto read = readPageSelection(fromQt(txtPrimerFolio->text()), fromQt(txtDesdePagina->text()),
                                      fromQt(txtHastaPagina->text()), problem);
  if (!read) {
    dialogs_.inform(problem.text);
    QLineEdit* box = problem.field == SelectionField::FirstFolio ? txtPrimerFolio
                     : problem.field == SelectionField::From     ? txtDesdePagina
                                                                 : txtHastaPagina;
    box->setFocus();
    box->selectAll();
    return;
  }
  if (!readPdf()) return;
  selection_ = *read;
  QDialog::accept();
}

}  // namespace pliego
