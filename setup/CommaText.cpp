// Writing the allowed list as one comma-separated line, quoting the entries that need it.
#include "setup/CommaText.h"

namespace setup {
namespace {

bool NeedsQuotes(const std::string& entry) {
  for (unsigned char c : entry) {
    if (c <= ' ' || c == '"' || c == ',') return true;
  }
  return false;
}

}  // namespace

std::string CommaText(const std::vector<std::string>& entries) {
  if (entries.size() == 1 && entries.front().empty()) return "\"\"";
  std::string text;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text += ',';
    const std::string& entry = entries[i];
    if (!NeedsQuotes(entry)) {
      text += entry;
      continue;
    }
    text += '"';
    for (char c : entry) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

}  // namespace setup
