// libFuzzer harness for the INI layer: an INI file of any bytes (with or
// without a byte-order mark), then writes, removals and profile saves on it
// through the private-profile operations, on a real file.
//
// Input: the file's bytes up to the first 0x01, then operations, each
// "<kind><section>\x02<key>\x02<value>\x01" with kind W (write), K (remove
// the key), S (remove the section) or E (save: the value's lines are
// "key=value" entries).
//
// Invariants: a write that succeeds reads back exactly (with the rules for
// blanks and quotes), unless refused, in which case the file is unchanged;
// a save stores all its keys or none; every other key keeps its value;
// reads place a NUL after the count that stays below the buffer size.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/ini_document.hpp"
#include "settings/private_profile.hpp"

using namespace pliego;

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "INVARIANT BROKEN: %s\n", what.c_str());
  std::abort();
}

const std::string& iniPath() {
  static const std::string path = [] {
    const char* base = std::getenv("PLIEGO_FUZZ_DIR");
    std::string folder = std::string(base ? base : (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp")) +
                         "/pliego-fuzz-XXXXXX";
    if (!mkdtemp(folder.data())) std::abort();
    return folder + "/Pliegomatic.ini";
  }();
  return path;
}

void writeFile(const std::string& bytes) {
  std::ofstream(iniPath(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile() {
  std::ifstream in(iniPath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string read(const char* section, const char* key, std::uint32_t size = 1 << 20) {
  std::vector<char> buffer(size + 2, 'X');
  const std::uint32_t count = getPrivateProfileString(section, key, "", buffer.data(), size, iniPath().c_str());
  if (size > 0 && (count >= size || buffer[count] != '\0')) fail("a read placed no NUL after its count");
  return std::string(buffer.data(), count);
}

std::vector<std::string> splitNuls(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t p = list.find('\0'); p != std::string::npos; p = list.find('\0', start)) {
    names.push_back(list.substr(start, p - start));
    start = p + 1;
  }
  return names;
}

using Snapshot = std::map<std::pair<std::string, std::string>, std::string>;

// The value of every listed key of every listed section.
Snapshot snapshot() {
  Snapshot values;
  for (const auto& section : splitNuls(read(nullptr, nullptr)))
    for (const auto& key : splitNuls(read(section.c_str(), nullptr)))
      values[{section, key}] = read(section.c_str(), key.c_str());
  return values;
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    return text.substr(1, text.size() - 2);
  return text;
}

// What a read gives back for a stored value.
std::string expectedValue(std::string_view value) { return std::string(unquoted(trimIniBlanks(value))); }

// A key whose line would read as something else: with "=" in it, or starting
// with "[" (the line could pass for a header).
bool plainKey(std::string_view key) {
  key = trimIniBlanks(key);
  return key.find('=') == std::string_view::npos && !key.starts_with('[');
}

bool sameName(std::string_view a, std::string_view b) { return equalNoCaseAscii(trimIniBlanks(a), trimIniBlanks(b)); }

// Every key of `before` other than those written keeps its value.
void checkOthers(const Snapshot& before, const std::string& section, const std::vector<std::string>& keys) {
  const Snapshot after = snapshot();
  for (const auto& [name, value] : before) {
    bool written = false;
    for (const auto& key : keys) written = written || (sameName(name.first, section) && sameName(name.second, key));
    if (written) continue;
    const auto found = after.find(name);
    if (found == after.end() || found->second != value)
      fail("key [" + name.first + "] " + name.second + " changed");
  }
}

bool breaksLine(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

struct Operation {
  char kind = 'W';
  std::string section, key, value;  // as C strings: up to the first NUL
};

std::vector<Operation> parseOperations(std::string_view data) {
  std::vector<Operation> operations;
  while (!data.empty()) {
    std::size_t end = data.find('\x01');
    const std::string_view record = data.substr(0, end);
    data = end == std::string_view::npos ? std::string_view() : data.substr(end + 1);
    if (record.empty()) continue;
    Operation op{.kind = record[0]};
    std::string* parts[] = {&op.section, &op.key, &op.value};
    std::size_t part = 0;
    for (const char c : record.substr(1)) {
      if (c == '\x02' && part < 2) ++part;
      else parts[part]->push_back(c);
    }
    for (auto* text : parts) text->resize(std::strlen(text->c_str()));
    operations.push_back(std::move(op));
  }
  return operations;
}

void runWrite(const Operation& op) {
  const std::string fileBefore = readFile();
  const Snapshot before = snapshot();
  const int result = writePrivateProfileString(op.section.c_str(), op.key.c_str(), op.value.c_str(),
                                               iniPath().c_str());
  const bool refused = breaksLine(op.section) || breaksLine(op.key) || breaksLine(op.value);
  if (refused) {
    if (result != 0 || readFile() != fileBefore) fail("a write with a line break was not refused");
    return;
  }
  if (result == 0) fail("a write into a writable folder failed");
  if (!plainKey(op.key)) return;
  if (read(op.section.c_str(), op.key.c_str()) != expectedValue(op.value)) fail("a written key did not read back");
  checkOthers(before, op.section, {op.key});
}

void runRemoval(const Operation& op) {
  const Snapshot before = snapshot();
  const bool section = op.kind == 'S';
  const int result = writePrivateProfileString(op.section.c_str(), section ? nullptr : op.key.c_str(), nullptr,
                                               iniPath().c_str());
  if (breaksLine(op.section) || (!section && breaksLine(op.key))) return;
  if (result == 0) fail("a removal in a writable folder failed");
  if (section) return;  // the section's keys go; a later section of that name may show
  if (!plainKey(op.key)) return;
  checkOthers(before, op.section, {op.key});
}

void runSave(const Operation& op) {
  std::vector<ProfileEntry> entries;
  std::vector<std::string> keys;
  std::size_t start = 0;
  while (start <= op.value.size() && entries.size() < 8) {
    std::size_t end = op.value.find('\n', start);
    if (end == std::string::npos) end = op.value.size();
    const std::string line = op.value.substr(start, end - start);
    const std::size_t equals = line.find('=');
    entries.push_back({line.substr(0, equals), equals == std::string::npos ? "" : line.substr(equals + 1)});
    keys.push_back(entries.back().key);
    start = end + 1;
  }
  const std::string fileBefore = readFile();
  const Snapshot before = snapshot();
  const auto failed = writePrivateProfileEntries(op.section.c_str(), entries, iniPath().c_str());
  bool refused = breaksLine(op.section);
  for (const auto& entry : entries) refused = refused || breaksLine(entry.key) || breaksLine(entry.value);
  if (refused) {
    if (failed.size() != entries.size() || readFile() != fileBefore) fail("a save with a line break was stored");
    return;
  }
  if (!failed.empty()) fail("a save into a writable folder failed");
  for (const auto& entry : entries)
    if (!plainKey(entry.key)) return;
  // The last entry of a key wins; each key reads back its last value.
  std::map<std::string, std::string> last;
  for (const auto& entry : entries) {
    std::string name(trimIniBlanks(entry.key));
    for (auto& c : name) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    last[name] = entry.value;
  }
  for (const auto& [key, value] : last)
    if (read(op.section.c_str(), key.c_str()) != expectedValue(value)) fail("a saved key did not read back");
  checkOthers(before, op.section, keys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t fileEnd = input.find('\x01');
  writeFile(std::string(input.substr(0, fileEnd)));
  const auto operations =
      fileEnd == std::string_view::npos ? std::vector<Operation>{} : parseOperations(input.substr(fileEnd + 1));
  // Small buffers: the count stays below the size, a NUL follows it.
  for (const std::uint32_t small : {0u, 1u, 2u, 3u, 7u}) {
    read(nullptr, nullptr, small);
    if (!operations.empty()) read(operations[0].section.c_str(), nullptr, small);
  }
  for (const auto& op : operations) {
    switch (op.kind) {
      case 'W': runWrite(op); break;
      case 'K':
      case 'S': runRemoval(op); break;
      case 'E': runSave(op); break;
      default: break;
    }
  }
  return 0;
}
