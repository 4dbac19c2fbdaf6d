#include "printing/ledger_pass.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/line_io.hpp"
#include "common/text.hpp"
#include "platform/files.hpp"
#include "printing/job_error.hpp"
#include "printing/page_header.hpp"

namespace pliego {

namespace {

class LedgerLayout {
 public:
  LedgerLayout(LineWriter& out, const PrintView& view, const std::vector<std::string>& header, double linesPerPage,
               std::int64_t footWidth)
      : out_(out), view_(view), header_(header), linesPerPage_(linesPerPage),
        footLine_(static_cast<std::size_t>(std::max<std::int64_t>(footWidth, 0)), ' ') {}

  // Lays out every line of `in`.
  void run(LineReader& in) {
    const auto headerCount = static_cast<std::int64_t>(header_.size());
    std::int64_t c = 0;
    std::string s;
    while (in.next(s) && out_.ok()) {
      if (static_cast<double>(c) == linesPerPage_ - 1) {
        EscribirPiePagina();
        EscribirEncabezadoMayor();
        out_.write(s);
        c = headerCount + 1;
      } else if (containsUpperAscii(s, kClosingBalanceMarker)) {
        out_.write(s);
        CompletarPagina(++c);
        EscribirEncabezadoMayor();
        c = headerCount;
      } else {
        out_.write(s);
        ++c;
      }
    }
    CompletarPagina(c);
  }

 private:
  void EscribirEncabezadoMayor() {
    EscribirEntrePaginas(out_, view_);
    for (const auto& line : header_) out_.write(line);
  }

  // Blank lines for positions c to P - 2, then the foot line.
  void CompletarPagina(std::int64_t c) {
    const double last = roundHalfEven(linesPerPage_ - 2);
    for (double position = static_cast<double>(c); position <= last && out_.ok(); ++position) out_.write(kBlankLine);
    EscribirPiePagina();
  }

  void EscribirPiePagina() {
    if (isLedgerName(view_.selectedReport())) out_.write(footLine_);
  }

  LineWriter& out_;
  const PrintView& view_;
  const std::vector<std::string>& header_;
  double linesPerPage_;
  std::string footLine_;
};

void discard(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(nativePath(path), ignored);
}

}  // namespace

void ProcesarMayor(const std::string& folder, const PrintView& view, const std::vector<std::string>& header,
                   std::int64_t footWidth, const NumberFormat& format) {
  const std::string input = joinPath(folder, "WRITE.TXT");
  const std::string output = joinPath(folder, "WRITE2.TXT");
  const auto linesPerPage = parseUserNumber(view.linesPerPage(), format);
  if (!linesPerPage) throw JobError("Los renglones de la pagina no son un numero: " + view.linesPerPage());

  LineReader in;
  if (!in.open(nativePath(input))) throw JobError("No se pudo leer el archivo de trabajo " + input);
  LineWriter out;
  if (!out.create(nativePath(output))) throw JobError("No se pudo crear el archivo de trabajo " + output);
  try {
    LedgerLayout(out, view, header, *linesPerPage, footWidth).run(in);
  } catch (...) {
    out.close();
    discard(output);
    throw;
  }
  const bool readFailed = in.failed();
  in.close();
  if (!out.close() || readFailed) {
    discard(output);
    throw JobError("No se pudo completar el archivo de trabajo " + output + " (disco lleno o sin permiso).");
  }
  // One rename, so that there is never a moment without a work file.
  std::error_code error;
  std::filesystem::rename(nativePath(output), nativePath(input), error);
  if (error) {
    discard(output);
    throw JobError("No se pudo reemplazar el archivo de trabajo " + input + ": " + error.message());
  }
}

}  // namespace pliego
