#include "settings/ini_document.hpp"

#include "common/text.hpp"

namespace pliego {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

bool isIniBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view trimLeadingIniBlanks(std::string_view text) {
  while (!text.empty() && isIniBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trimIniBlanks(std::string_view text) {
  text = trimLeadingIniBlanks(text);
  while (!text.empty() && isIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool equalNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
  std::size_t pos = 0;
  while (pos < bytes_.size()) {
    std::size_t end = bytes_.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes_.size();
    std::size_t next = end;
    if (next < bytes_.size()) next += bytes_.compare(next, 2, kLineEnd) == 0 ? 2 : 1;
    lines_.push_back(parseLine(pos, end, next));
    pos = next;
  }
  groupSections();
}

IniDocument::Line IniDocument::parseLine(std::size_t begin, std::size_t end, std::size_t next) const {
  Line line{.begin = begin, .end = end, .next = next};
  // A NUL ends the text of its line.
  const std::size_t nul = bytes_.find('\0', begin);
  std::size_t b = begin, e = nul < end ? nul : end;
  while (b < e && isIniBlank(bytes_[b])) ++b;
  while (e > b && isIniBlank(bytes_[e - 1])) --e;
  line.textEnd = e;
  if (b == e) return line;
  const std::string_view body = text(b, e);
  const std::size_t close = body.rfind(']');
  if (body.front() == '[' && close != std::string_view::npos) {
    const std::string_view inner = trimIniBlanks(body.substr(1, close - 1));
    line.kind = Kind::Header;
    line.nameBegin = static_cast<std::size_t>(inner.data() - bytes_.data());
    line.nameEnd = line.nameBegin + inner.size();
    return line;
  }
  line.kind = Kind::Entry;
  line.nameBegin = b;
  const std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) {
    line.nameEnd = line.valueBegin = line.valueEnd = e;
    return line;
  }
  line.hasValue = true;
  line.nameEnd = b + equals;
  while (line.nameEnd > b && isIniBlank(bytes_[line.nameEnd - 1])) --line.nameEnd;
  line.valueBegin = b + equals + 1;
  while (line.valueBegin < e && isIniBlank(bytes_[line.valueBegin])) ++line.valueBegin;
  line.valueEnd = e;
  return line;
}

// Entries before the first header form a section with the empty name, when
// there are any.
void IniDocument::groupSections() {
  Section current;
  bool leadingEntries = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Entry && current.header == std::string::npos) leadingEntries = true;
    if (lines_[i].kind != Kind::Header) continue;
    current.end = i;
    if (current.header != std::string::npos || leadingEntries) sections_.push_back(current);
    current = Section{.header = i, .body = i + 1};
  }
  current.end = lines_.size();
  if (current.header != std::string::npos || leadingEntries) sections_.push_back(current);
}

std::string_view IniDocument::text(std::size_t begin, std::size_t end) const {
  return std::string_view(bytes_).substr(begin, end - begin);
}

std::string_view IniDocument::name(const Section& section) const {
  return section.header == std::string::npos ? std::string_view() : name(lines_[section.header]);
}

const IniDocument::Section* IniDocument::firstSection(std::string_view wanted) const {
  for (const auto& section : sections_)
    if (equalNoCaseAscii(name(section), wanted)) return &section;
  return nullptr;
}

const IniDocument::Line* IniDocument::firstEntry(const Section& section, std::string_view key) const {
  for (std::size_t i = section.body; i < section.end; ++i)
    if (lines_[i].kind == Kind::Entry && equalNoCaseAscii(name(lines_[i]), key)) return &lines_[i];
  return nullptr;
}

std::optional<std::string_view> IniDocument::value(std::string_view section, std::string_view key) const {
  const Section* found = firstSection(section);
  const Line* line = found ? firstEntry(*found, key) : nullptr;
  if (!line || !line->hasValue) return std::nullopt;
  return text(line->valueBegin, line->valueEnd);
}

std::optional<std::vector<std::string_view>> IniDocument::keyNames(std::string_view section) const {
  const Section* found = firstSection(section);
  if (!found) return std::nullopt;
  std::vector<std::string_view> keys;
  for (std::size_t i = found->body; i < found->end; ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Entry && line.hasValue && !startsWith(name(line), ";")) keys.push_back(name(line));
  }
  return keys;
}

std::vector<std::string_view> IniDocument::sectionNames() const {
  std::vector<std::string_view> names;
  for (const auto& section : sections_)
    if (!name(section).empty()) names.push_back(name(section));
  return names;
}

IniEdit IniDocument::storing(std::string_view section, std::string_view key, std::string_view value) const {
  const std::string entry = std::string(key) + "=" + std::string(value) + std::string(kLineEnd);
  const Section* found = firstSection(section);
  if (!found) return newSection(section, entry);
  const Line* line = firstEntry(*found, key);
  if (!line) return entryAtEnd(*found, entry);
  if (line->hasValue && text(line->valueBegin, line->valueEnd) == value) return {};
  // The key's own bytes and the blanks after "=" stay; the value is replaced.
  if (line->hasValue) return {line->valueBegin, line->end, std::string(value)};
  return {line->textEnd, line->end, "=" + std::string(value)};
}

IniEdit IniDocument::newSection(std::string_view section, std::string_view entry) const {
  std::string insert;
  if (!bytes_.empty() && bytes_.back() != '\r' && bytes_.back() != '\n') insert += kLineEnd;
  insert += "[";
  insert += section;
  insert += "]";
  insert += kLineEnd;
  insert += entry;
  return {bytes_.size(), bytes_.size(), insert};
}

// The new entry follows the section's last line that is not blank.
IniEdit IniDocument::entryAtEnd(const Section& section, std::string_view entry) const {
  std::size_t last = section.header;
  for (std::size_t i = section.body; i < section.end; ++i)
    if (lines_[i].kind != Kind::Blank) last = i;
  const Line& after = lines_[last];
  std::string insert;
  if (after.next == after.end) insert += kLineEnd;  // the last line of the file had no line end
  insert += entry;
  return {after.next, after.next, insert};
}

IniEdit IniDocument::removingKey(std::string_view section, std::string_view key) const {
  for (const auto& candidate : sections_) {
    if (!equalNoCaseAscii(name(candidate), section)) continue;
    if (const Line* line = firstEntry(candidate, key)) return {line->begin, line->next, {}};
  }
  return {};
}

IniEdit IniDocument::removingSection(std::string_view section) const {
  const Section* found = firstSection(section);
  if (!found) return {};
  const std::size_t begin = found->header == std::string::npos ? 0 : lines_[found->header].begin;
  const std::size_t end = found->end < lines_.size() ? lines_[found->end].begin : bytes_.size();
  return {begin, end, {}};
}

}  // namespace pliego
