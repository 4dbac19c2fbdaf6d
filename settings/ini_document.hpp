#pragma once
// The text of an INI file (code-page bytes, see ini_encoding.hpp), read the way
// the private-profile functions read it, and the edits that a write makes.
// An edit changes only the lines it touches and keeps every other byte.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pliego {

// Space, TAB, LF, VT, FF, CR and Ctrl+Z.
bool isIniBlank(char c);
std::string_view trimIniBlanks(std::string_view text);
std::string_view trimLeadingIniBlanks(std::string_view text);
// ASCII letters compared without regard to case, other bytes exactly.
bool equalNoCaseAscii(std::string_view a, std::string_view b);

// One change of the text: [begin, end) replaced by `insert`.
struct IniEdit {
  std::size_t begin = 0, end = 0;
  std::string insert;
  bool changes() const { return begin != end || !insert.empty(); }
};

// Names are compared as given (without regard to ASCII case); callers strip
// them first where the private-profile rules say so.
class IniDocument {
 public:
  explicit IniDocument(std::string bytes);
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  const std::string& bytes() const { return bytes_; }

  // The text after "=" of the first key `key` in the first section `section`;
  // nothing when either is missing or that line has no "=".
  std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
  // The keys of the first section `section` that lists show (with "=", not
  // starting with ";"), in file order; nothing when the section is missing.
  std::optional<std::vector<std::string_view>> keyNames(std::string_view section) const;
  // The names of all sections with a non-empty name, in file order.
  std::vector<std::string_view> sectionNames() const;

  // Stores `value` under `key`: in place when the key exists, else at the
  // end of its section, else in a new section at the end. No change when the
  // key already holds that value.
  IniEdit storing(std::string_view section, std::string_view key, std::string_view value) const;
  // Removes the first line of `key` in the first section of that name that
  // has it.
  IniEdit removingKey(std::string_view section, std::string_view key) const;
  // Removes the first section `section`: header and lines.
  IniEdit removingSection(std::string_view section) const;

 private:
  enum class Kind { Blank, Header, Entry };
  struct Line {
    std::size_t begin = 0, end = 0, next = 0;  // text, line end, start of the next line
    std::size_t textEnd = 0;  // end of the text: at a NUL, without trailing blanks
    Kind kind = Kind::Blank;
    std::size_t nameBegin = 0, nameEnd = 0;     // section name or key
    bool hasValue = false;
    std::size_t valueBegin = 0, valueEnd = 0;
  };
  // Lines [body, end) follow the header; `header` is npos for the entries
  // that stand before the first header.
  struct Section {
    std::size_t header = std::string::npos;
    std::size_t body = 0, end = 0;
  };

  Line parseLine(std::size_t begin, std::size_t end, std::size_t next) const;
  void groupSections();
  std::string_view text(std::size_t begin, std::size_t end) const;
  std::string_view name(const Line& line) const { return text(line.nameBegin, line.nameEnd); }
  std::string_view name(const Section& section) const;
  const Section* firstSection(std::string_view name) const;
  const Line* firstEntry(const Section& section, std::string_view key) const;
  IniEdit newSection(std::string_view section, std::string_view entry) const;
  IniEdit entryAtEnd(const Section& section, std::string_view entry) const;

  std::string bytes_;
  std::vector<Line> lines_;
  std::vector<Section> sections_;
};

}  // namespace pliego
