#include "printing/page_selection.hpp"

#include <charconv>
#include <tuple>

#include "common/text.hpp"

namespace pliego {

namespace {

enum class Whole { Empty, Number, Wrong };

// A whole number from 1 to kMostFolio, blanks around it allowed.
Whole readWhole(std::string_view text, std::int64_t& value) {
  text = trimSpaces(text);
  if (text.empty()) return Whole::Empty;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = error == std::errc() && end == text.data() + text.size() && value >= 1 && value <= kMostFolio;
  return whole ? Whole::Number : Whole::Wrong;
}

std::string range(std::int64_t first, std::int64_t last) {
  return first == last ? std::to_string(first) : std::to_string(first) + " a " + std::to_string(last);
}

// The pages asked for, as the user typed them.
std::string askedWords(const PageSelection& selection) {
  if (!selection.to) return std::to_string(*selection.from) + " en adelante";
  if (!selection.from) return "hasta " + std::to_string(*selection.to);
  return range(*selection.from, *selection.to);
}

}  // namespace

std::optional<PageSelection> readPageSelection(std::string_view firstFolio, std::string_view from,
                                               std::string_view to, SelectionProblem& problem) {
  PageSelection selection;
  if (readWhole(firstFolio, selection.firstFolio) != Whole::Number) {
    problem = {"El primer folio debe ser un numero entero entre 1 y " + std::to_string(kMostFolio) + ".",
               SelectionField::FirstFolio};
    return std::nullopt;
  }
  const std::string pagesProblem =
      "Las paginas a imprimir deben ser numeros enteros desde 1, o quedar vacias para imprimir el libro completo.";
  for (auto [text, into, field] : {std::tuple{from, &selection.from, SelectionField::From},
                                   std::tuple{to, &selection.to, SelectionField::To}}) {
    std::int64_t value = 0;
    const Whole page = readWhole(text, value);
    if (page == Whole::Wrong) {
      problem = {pagesProblem, field};
      return std::nullopt;
    }
    if (page == Whole::Number) *into = value;
  }
  if (selection.from && selection.to && *selection.from > *selection.to) {
    problem = {"La primera pagina a imprimir (" + std::to_string(*selection.from) +
                   ") no puede ser mayor que la ultima (" + std::to_string(*selection.to) + ").",
               SelectionField::From};
    return std::nullopt;
  }
  return selection;
}

std::string pagesAskedText(const PageSelection& selection) {
  return selection.wholeBook() ? std::string() : askedWords(selection);
}

std::string outsideBookProblem(const PageSelection& selection, std::int64_t pages) {
  if (selection.wholeBook()) return {};
  const std::int64_t last = selection.folioOf(pages);
  const bool inside = (!selection.from || (*selection.from >= selection.firstFolio && *selection.from <= last)) &&
                      (!selection.to || (*selection.to >= selection.firstFolio && *selection.to <= last));
  if (inside && pages > 0) return {};
  const std::string book = pages == 0 ? "que no tiene paginas"
                                      : "que tiene " + std::to_string(pages) +
                                            (pages == 1 ? " pagina, folio " : " paginas, folios ") +
                                            range(selection.firstFolio, last);
  return "Las paginas pedidas (" + askedWords(selection) + ") no estan en el libro, " + book +
         ". No se imprimio nada.";
}

std::string pendingOptionsText(std::string_view report, const PageSelection& selection) {
  std::string text = std::string(report) + ": la proxima impresion empieza en el folio " +
                     std::to_string(selection.firstFolio);
  if (!selection.wholeBook()) text += ", solo las paginas " + askedWords(selection);
  return text + ". F11 para cambiarlo.";
}

std::string optionsButtonText(const std::optional<PageSelection>& selection) {
  if (!selection) return "F11 - Opciones...";
  if (selection->wholeBook()) return "F11 - Folio " + std::to_string(selection->firstFolio);
  return "F11 - Pag. " + askedWords(*selection);
}

}  // namespace pliego
