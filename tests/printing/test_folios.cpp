// The first folio and the choice of pages, on bytes in memory: the folios
// count up from the first one, and the pages sent are the very pages of the
// whole book, so that pages 1 to N and N+1 to the end make the whole book.
#include <gtest/gtest.h>

#include "printing/pagination.hpp"
#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

struct Book {
  const char* name;
  std::string report;
  PageRules rules;
};

std::vector<std::string> headerLines() {
  return {"DISTRIBUIDORA EL A\xD1IL S.A.", "LIBRO", "FECHA  CUENTA  IMPORTE"};
}

// 10 lines a page, 3 header lines, 2 lines between pages.
PageRules rulesFor(const char* report) {
  return makePageRules(report, "10", "3", "2", CheckState::Checked, CheckState::Unchecked, NumberFormat{'.', ','});
}

Book plainBook() {
  auto lines = headerLines();
  append(lines, numberedLines(60, "asiento "));
  return {"plain", joinCrLf(lines), rulesFor("LISTADO.TXT")};
}

Book vatBook() {
  auto lines = headerLines();
  append(lines, numberedLines(44, "factura "));
  append(lines, {"Tasas de I.V.A.:", "21%  2.520,00"});
  return {"VAT", joinCrLf(lines), rulesFor("IVAVENTAS.TXT")};
}

Book ledger() {
  auto lines = headerLines();
  for (int account = 1; account <= 6; ++account) {
    append(lines, numberedLines(account * 2, "cuenta " + std::to_string(account) + " movimiento "));
    lines.push_back("SALDO FINAL: " + std::to_string(account * 100));
  }
  return {"ledger", joinCrLf(lines), rulesFor("MAYOR.TXT")};
}

std::vector<Book> books() { return {plainBook(), vatBook(), ledger()}; }

struct Laid {
  std::string bytes;
  Layout layout;
};

Laid layOutBook(const Book& book, const PageSelection& selection) {
  LineReader report;
  report.openMemory(book.report, 5);
  const auto header = captureHeader(report, book.rules);
  EXPECT_TRUE(report.rewind());
  Laid laid;
  LineWriter out;
  out.createInMemory(laid.bytes);
  laid.layout = layOut(report, out, book.rules, header, {}, selection);
  EXPECT_TRUE(out.close());
  return laid;
}

PageSelection pages(std::int64_t firstFolio, std::optional<std::int64_t> from = {},
                    std::optional<std::int64_t> to = {}) {
  PageSelection selection;
  selection.firstFolio = firstFolio;
  selection.from = from;
  selection.to = to;
  return selection;
}

// The whole book cut into its pages, found from the outside: a plain page
// after the first starts 2 lines (between pages) before its stamped header
// line; a ledger page is 10 lines, after the first preceded by 2.
std::vector<std::string> cutIntoPages(const Book& book, const std::string& whole) {
  const auto lines = splitCrLf(whole);
  std::vector<std::size_t> starts{0};
  if (book.rules.kind == ReportKind::Ledger) {
    for (std::size_t at = 10; at < lines.size(); at += 12) starts.push_back(at);
  } else {
    for (std::size_t i = 1; i < lines.size(); ++i)
      if (lines[i].size() == 192 && lines[i].find(" Pagina: ") != std::string::npos) starts.push_back(i - 2);
  }
  std::vector<std::string> cut;
  for (std::size_t p = 0; p < starts.size(); ++p) {
    const std::size_t end = p + 1 < starts.size() ? starts[p + 1] : lines.size();
    cut.push_back(joinCrLf({lines.begin() + static_cast<std::ptrdiff_t>(starts[p]),
                            lines.begin() + static_cast<std::ptrdiff_t>(end)}));
  }
  return cut;
}

std::vector<std::string> stampsOf(const std::string& bytes) {
  std::vector<std::string> stamps;
  for (const auto& line : splitCrLf(bytes))
    if (const auto at = line.find(" Pagina: "); at != std::string::npos) stamps.push_back(line.substr(at + 9));
  return stamps;
}

TEST(Folios, PagesAreStampedFromTheFirstFolioAndNothingElseChanges) {
  for (const auto& book : books()) {
    const Laid one = layOutBook(book, pages(1));
    const Laid from38 = layOutBook(book, pages(38));
    const auto stamps = stampsOf(from38.bytes);
    ASSERT_FALSE(stamps.empty()) << book.name;
    for (std::size_t i = 0; i < stamps.size(); ++i) EXPECT_EQ(stamps[i], std::to_string(38 + i)) << book.name;
    if (book.rules.kind == ReportKind::Ledger) {
      EXPECT_EQ(stamps.size(), 1u);  // later ledger pages carry none
    }

    const auto oneLines = splitCrLf(one.bytes), lines38 = splitCrLf(from38.bytes);
    ASSERT_EQ(oneLines.size(), lines38.size()) << book.name;
    for (std::size_t i = 0; i < oneLines.size(); ++i)
      if (oneLines[i].find(" Pagina: ") == std::string::npos) {
        EXPECT_EQ(lines38[i], oneLines[i]) << book.name << i;
      }

    EXPECT_EQ(from38.layout.bookPages, one.layout.bookPages) << book.name;
    EXPECT_EQ(from38.layout.pagesSent, from38.layout.bookPages) << book.name;
    EXPECT_EQ(from38.layout.firstFolio, 38) << book.name;
    EXPECT_EQ(from38.layout.lastFolio, 37 + from38.layout.bookPages) << book.name;
    EXPECT_EQ(from38.layout.linesSent, static_cast<std::int64_t>(lines38.size())) << book.name;
    EXPECT_EQ(from38.layout.outsideBook, "") << book.name;
  }
}

TEST(Folios, EveryReprintIsThoseVeryPagesOfTheWholeBook) {
  for (const auto& book : books()) {
    const Laid whole = layOutBook(book, pages(38));
    const auto cut = cutIntoPages(book, whole.bytes);
    const auto count = static_cast<std::int64_t>(cut.size());
    ASSERT_EQ(count, whole.layout.bookPages) << book.name;
    ASSERT_GE(count, 5) << book.name;
    for (std::int64_t x = 38; x < 38 + count; ++x)
      for (std::int64_t y = x; y < 38 + count; ++y) {
        std::string expected;
        for (std::int64_t p = x; p <= y; ++p) expected += cut[static_cast<std::size_t>(p - 38)];
        const Laid reprint = layOutBook(book, pages(38, x, y));
        ASSERT_EQ(reprint.bytes, expected) << book.name << " pages " << x << " to " << y;
        EXPECT_EQ(reprint.layout.firstFolio, x);
        EXPECT_EQ(reprint.layout.lastFolio, y);
        EXPECT_EQ(reprint.layout.pagesSent, y - x + 1);
        EXPECT_EQ(reprint.layout.linesSent, static_cast<std::int64_t>(splitCrLf(expected).size()));
        EXPECT_EQ(reprint.layout.outsideBook, "");
      }
  }
}

TEST(Folios, PagesUpToNThenFromNPlusOneMakeTheWholeBook) {
  for (const auto& book : books()) {
    const Laid whole = layOutBook(book, pages(1));
    for (std::int64_t n = 1; n < whole.layout.bookPages; ++n) {
      const Laid first = layOutBook(book, pages(1, {}, n));
      const Laid rest = layOutBook(book, pages(1, n + 1, {}));
      EXPECT_EQ(first.bytes + rest.bytes, whole.bytes) << book.name << " split after page " << n;
      EXPECT_EQ(first.layout.lastFolio + 1, rest.layout.firstFolio) << book.name;
      EXPECT_EQ(first.layout.linesSent + rest.layout.linesSent, whole.layout.linesSent) << book.name;
    }
  }
}

TEST(Folios, PagesTheBookDoesNotHaveAreToldWithTheWholeBooksSize) {
  for (const auto& book : books()) {
    const Laid whole = layOutBook(book, pages(38));
    const std::int64_t last = 37 + whole.layout.bookPages;
    for (const auto& selection : {pages(38, last + 1, {}), pages(38, last, last + 2), pages(38, 1, 37),
                                  pages(38, {}, 37)}) {
      const Laid refused = layOutBook(book, selection);
      EXPECT_EQ(refused.layout.outsideBook, outsideBookProblem(selection, whole.layout.bookPages)) << book.name;
      EXPECT_NE(refused.layout.outsideBook, "") << book.name;
    }
  }
}

TEST(Folios, AnEmptyPlainReportHasNoPageToReprint) {
  const Book empty{"empty", "", rulesFor("LISTADO.TXT")};
  EXPECT_EQ(layOutBook(empty, pages(1)).layout.bookPages, 0);
  EXPECT_EQ(layOutBook(empty, pages(1)).layout.outsideBook, "");
  EXPECT_EQ(layOutBook(empty, pages(1, 1, 1)).layout.outsideBook,
            "Las paginas pedidas (1) no estan en el libro, que no tiene paginas. No se imprimio nada.");
}

}  // namespace
