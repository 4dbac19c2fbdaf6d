#pragma once
// What the print job reads from and does to the main window. The window
// implements it; tests drive the job with a plain fake.
#include <string>

#include "common/check_state.hpp"
#include "printing/pdf_output.hpp"
#include "printing/printer_setup.hpp"

namespace pliego {

enum class FocusTarget { ReportList, ProfileList, HeaderLinesField, LinesPerPageField, BetweenPagesField, Destination };

class PrintView {
 public:
  virtual ~PrintView() = default;
  virtual std::string selectedReport() const = 0;     // List1's selected text, "" when none
  virtual std::string linesPerPage() const = 0;       // txtRenglonesPagina
  virtual std::string headerLines() const = 0;        // txtRenglonesEncabezado
  virtual std::string linesBetweenPages() const = 0;  // txtEntrePaginas
  virtual std::string portNumber() const = 0;         // txtLPT
  virtual CheckState pageNumberBox() const = 0;       // chkNumeroPagina
  virtual CheckState previewBox() const = 0;          // chkPreview
  virtual CheckState vatTotalsBox() const = 0;        // chkTotalesDeIVA
  virtual std::string selectedProfile() const { return {}; }  // List2's selected text, for the record
  virtual std::string destination() const { return {}; }      // cboDestino: the profile's "DESTINO"
  // The PDF folder and paper the selected profile keeps, for a profile
  // whose destination is a PDF.
  virtual PdfRequest profilePdf() const { return {}; }
  // The selected profile's printer set-up; none: today's job.
  virtual PrinterSetupTexts profilePrinterSetup() const { return {}; }
  // Label1, in the system's encoding (it may name a file).
  virtual std::string statusCaption() const = 0;
  // Sets Label1 and repaints it at once, without running the event loop.
  virtual void showStatusCaption(const std::string& caption) = 0;
  virtual void moveFocus(FocusTarget target) = 0;
};

}  // namespace pliego
