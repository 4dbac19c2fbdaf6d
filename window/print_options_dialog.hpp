#pragma once
// "Opciones de impresion": the first folio and the pages of the next print,
// with the last prints of the selected report as the record keeps them.
#include <QDialog>
#include <string>
#include <vector>

#include "common/dialogs.hpp"
#include "printing/page_selection.hpp"
#include "printing/pdf_output.hpp"
#include "printing/print_record.hpp"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace pliego {

class PrintOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // The result when the user takes the options away: the next print is the
  // whole book from the folio offered.
  static constexpr int Cleared = 2;

  // `shown`: the values the boxes start with; `records`: the report's last
  // prints, oldest first. Corrections are asked for through `dialogs`.
  PrintOptionsDialog(const std::string& report, const PageSelection& shown, const std::vector<PrintRecord>& records,
                     Dialogs& dialogs, QWidget* parent = nullptr);

  // The values accepted; the whole book from folio 1 until then.
  const PageSelection& selection() const { return selection_; }

  // Adds the group of the PDF, starting from `shown`: no PDF, a PDF instead
  // of the printer or as well; its folder and paper.
  void addPdfOptions(const PdfRequest& shown);
  // The PDF asked for, once accepted (none without the group).
  const PdfRequest& pdf() const { return pdf_; }

  // Takes the values only when they read as a selection; otherwise tells the
  // user what to correct and stays open.
  void accept() override;

 private:
  QTableWidget* makeRecordTable(const std::vector<PrintRecord>& records);
  QGroupBox* makePdfGroup(const PdfRequest& shown);
  // The PDF as the group's controls say; false, with the user told, when
  // a PDF is asked for without a folder.
  bool readPdf();
  void fitRecordColumns(QTableWidget* table);

  Dialogs& dialogs_;
  PageSelection selection_;
  QLineEdit* txtPrimerFolio = nullptr;
  QLineEdit* txtDesdePagina = nullptr;
  QLineEdit* txtHastaPagina = nullptr;
  QTableWidget* lstRegistro = nullptr;

  PdfRequest pdf_;
  QGroupBox* FramePdf = nullptr;
  QRadioButton* optSinPdf = nullptr;
  QRadioButton* optPdfEnLugar = nullptr;
  QRadioButton* optPdfAdemas = nullptr;
  QLineEdit* txtCarpetaPdf = nullptr;
  QComboBox* cboHojaPdf = nullptr;
};

}  // namespace pliego
