// Tidied system texts, each asked of the system once: a failure that repeats (a send on every
// announcement) costs one lookup.
#include "SystemErrorText.h"

#include <unordered_map>

#include "Errors.h"

namespace launch {

std::string TidiedSystemErrorText(int code) {
  static std::unordered_map<int, std::string> known;
  const auto found = known.find(code);
  if (found != known.end()) return found->second;
  return known.emplace(code, TidySystemText(SystemErrorText(code))).first->second;
}

}  // namespace launch
