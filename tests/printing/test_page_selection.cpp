// The first folio and the pages the user types for the next print, and the
// refusal of pages that the book does not have.
#include <gtest/gtest.h>

#include "printing/page_selection.hpp"

using namespace pliego;

namespace {

struct ReadRow {
  const char *first, *from, *to;
  std::int64_t firstFolio, fromPage, toPage;  // 0: none
};

TEST(PageSelectionReading, WholeNumbersWithBlanksAroundAndEmptyPages) {
  const ReadRow rows[] = {
      {"1", "", "", 1, 0, 0},         {" 38 ", "", "", 38, 0, 0},   {"38", "40", "42", 38, 40, 42},
      {"1", "143", "", 1, 143, 0},    {"1", "", "150", 1, 0, 150}, {"7", "9", "9", 7, 9, 9},
      {"999999999", "", "", 999999999, 0, 0},
  };
  for (const auto& row : rows) {
    SelectionProblem problem;
    const auto read = readPageSelection(row.first, row.from, row.to, problem);
    ASSERT_TRUE(read) << row.first << "|" << row.from << "|" << row.to << ": " << problem.text;
    EXPECT_EQ(read->firstFolio, row.firstFolio);
    EXPECT_EQ(read->from.value_or(0), row.fromPage);
    EXPECT_EQ(read->to.value_or(0), row.toPage);
    EXPECT_EQ(read->wholeBook(), row.fromPage == 0 && row.toPage == 0);
  }
}

struct WrongRow {
  const char *first, *from, *to;
  SelectionField field;
  const char* text;
};

TEST(PageSelectionReading, RefusesWhatIsNotAFolioAndSaysWhichBox) {
  const char* folio = "El primer folio debe ser un numero entero entre 1 y 999999999.";
  const char* pages =
      "Las paginas a imprimir deben ser numeros enteros desde 1, o quedar vacias para imprimir el libro completo.";
  const WrongRow rows[] = {
      {"", "", "", SelectionField::FirstFolio, folio},
      {"0", "", "", SelectionField::FirstFolio, folio},
      {"-3", "", "", SelectionField::FirstFolio, folio},
      {"3.5", "", "", SelectionField::FirstFolio, folio},
      {"38a", "", "", SelectionField::FirstFolio, folio},
      {"1000000000", "", "", SelectionField::FirstFolio, folio},
      {"1", "cuarenta", "", SelectionField::From, pages},
      {"1", "0", "", SelectionField::From, pages},
      {"1", "", "4 2", SelectionField::To, pages},
      {"1", "42", "40", SelectionField::From, "La primera pagina a imprimir (42) no puede ser mayor que la ultima (40)."},
  };
  for (const auto& row : rows) {
    SelectionProblem problem;
    EXPECT_FALSE(readPageSelection(row.first, row.from, row.to, problem)) << row.first << "|" << row.from;
    EXPECT_EQ(problem.text, row.text) << row.first << "|" << row.from << "|" << row.to;
    EXPECT_EQ(problem.field, row.field) << row.first << "|" << row.from << "|" << row.to;
  }
}

PageSelection pagesOf(std::int64_t first, std::optional<std::int64_t> from, std::optional<std::int64_t> to) {
  PageSelection selection;
  selection.firstFolio = first;
  selection.from = from;
  selection.to = to;
  return selection;
}

struct BookRow {
  PageSelection selection;
  std::int64_t pages;
  const char* problem;  // "" when the pages are in the book
};

TEST(PageSelectionInTheBook, PagesOutsideTheBookAreRefusedNamingTheBooksFolios) {
  const BookRow rows[] = {
      {pagesOf(38, {}, {}), 37, ""},
      {pagesOf(38, {}, {}), 0, ""},
      {pagesOf(38, 40, 42), 37, ""},
      {pagesOf(38, 38, 74), 37, ""},
      {pagesOf(38, 74, {}), 37, ""},
      {pagesOf(38, {}, 38), 37, ""},
      {pagesOf(38, 70, 80), 37,
       "Las paginas pedidas (70 a 80) no estan en el libro, que tiene 37 paginas, folios 38 a 74. "
       "No se imprimio nada."},
      {pagesOf(38, 5, 7), 37,
       "Las paginas pedidas (5 a 7) no estan en el libro, que tiene 37 paginas, folios 38 a 74. No se imprimio nada."},
      {pagesOf(38, 75, {}), 37,
       "Las paginas pedidas (75 en adelante) no estan en el libro, que tiene 37 paginas, folios 38 a 74. "
       "No se imprimio nada."},
      {pagesOf(38, {}, 80), 37,
       "Las paginas pedidas (hasta 80) no estan en el libro, que tiene 37 paginas, folios 38 a 74. "
       "No se imprimio nada."},
      {pagesOf(1, 2, 2), 1,
       "Las paginas pedidas (2) no estan en el libro, que tiene 1 pagina, folio 1. No se imprimio nada."},
      {pagesOf(1, 1, 1), 0, "Las paginas pedidas (1) no estan en el libro, que no tiene paginas. No se imprimio nada."},
  };
  for (const auto& row : rows)
    EXPECT_EQ(outsideBookProblem(row.selection, row.pages), row.problem)
        << row.selection.firstFolio << " " << row.selection.from.value_or(0) << "-" << row.selection.to.value_or(0);
}

}  // namespace
