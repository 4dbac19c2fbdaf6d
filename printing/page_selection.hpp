#pragma once
// The numbering and the choice of pages for one job: the folio stamped on
// the report's first page, and which pages of the laid-out book are sent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pliego {

// The highest folio the program stamps.
inline constexpr std::int64_t kMostFolio = 999999999;

struct PageSelection {
  // Page 1 of the report is stamped with it; later pages count up from it.
  std::int64_t firstFolio = 1;
  // The pages sent, counted as they are stamped; none: from the book's first,
  // or up to its last.
  std::optional<std::int64_t> from, to;

  bool wholeBook() const { return !from && !to; }
  bool operator==(const PageSelection&) const = default;
  // The folio of the book's page `index` (1 for its first page).
  std::int64_t folioOf(std::int64_t index) const { return firstFolio + index - 1; }
  bool sends(std::int64_t folio) const { return (!from || folio >= *from) && (!to || folio <= *to); }
  bool pastEnd(std::int64_t folio) const { return to && folio > *to; }
};

enum class SelectionField { FirstFolio, From, To };

// What the user must correct, and in which box.
struct SelectionProblem {
  std::string text;
  SelectionField field = SelectionField::FirstFolio;
};

// The selection from the texts the user typed: the first folio, and the
// pages from and to (either empty). Nothing, with `problem` set, when a text
// is not a whole number from 1 up or the pages run backwards.
std::optional<PageSelection> readPageSelection(std::string_view firstFolio, std::string_view from,
                                               std::string_view to, SelectionProblem& problem);

// The pages asked for as the user typed them: "40 a 42", "40 en adelante",
// "hasta 42"; "" for the whole book.
std::string pagesAskedText(const PageSelection& selection);

// The options set for the next print of `report`, for the status line:
// "IVACOMPRAS.TXT: la proxima impresion empieza en el folio 40, solo las
// paginas 40 a 42. F11 para cambiarlo."
std::string pendingOptionsText(std::string_view report, const PageSelection& selection);
// The caption of the options button: "F11 - Opciones..." with none set,
// else the folio or the pages set ("F11 - Folio 40", "F11 - Pag. 40 a 42").
std::string optionsButtonText(const std::optional<PageSelection>& selection);

// Tells the user that the pages asked for are not all in a book of `pages`
// pages starting at `selection.firstFolio`; "" when they are.
std::string outsideBookProblem(const PageSelection& selection, std::int64_t pages);

}  // namespace pliego
