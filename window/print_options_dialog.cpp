#include "window/print_options_dialog.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

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
  connect(buttons, &QDialogButtonBox::accepted, this, &PrintOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrintOptionsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Ultimas impresiones de este reporte:"), this));
  lstRegistro = makeRecordTable(records);
  layout->addWidget(lstRegistro);
  layout->addWidget(buttons);
  resize(760, 360);

  setTabOrder(txtPrimerFolio, txtDesdePagina);
  setTabOrder(txtDesdePagina, txtHastaPagina);
  txtPrimerFolio->setFocus();
  txtPrimerFolio->selectAll();
}

QTableWidget* PrintOptionsDialog::makeRecordTable(const std::vector<PrintRecord>& records) {
  const auto& columns = recordColumns();
  auto* table = new QTableWidget(static_cast<int>(records.size()), static_cast<int>(columns.size()), this);
  table->setObjectName(QStringLiteral("lstRegistro"));
  QStringList names;
  for (const auto& name : columns) names << toQt(name);
  table->setHorizontalHeaderLabels(names);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setFocusPolicy(Qt::ClickFocus);
  for (int row = 0; row < table->rowCount(); ++row) {
    const auto fields = recordFields(records[static_cast<std::size_t>(row)]);
    for (int column = 0; column < table->columnCount(); ++column)
      table->setItem(row, column, new QTableWidgetItem(toQt(fields[static_cast<std::size_t>(column)])));
  }
  table->resizeColumnsToContents();
  table->scrollToBottom();
  return table;
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
  selection_ = *read;
  QDialog::accept();
}

}  // namespace pliego
