// What every benchmark of the running program does the same way: its frame (arguments
// checked, the architecture named, an escaped error printed) and the folders it starts the
// program in.
#pragma once

#include <functional>
#include <string>

namespace bench {

// Runs a benchmark program's body. With fewer than `arguments` arguments it prints the usage
// ("name ARGUMENTS...") and answers 2; otherwise it names the architecture and answers what
// the body answers, or 1 with the error printed when the body throws.
int RunBenchmark(int argc, int arguments, const char* usage,
                 const std::function<int()>& body);

// A fresh folder <root>\<name> (root a Linux or Windows path) to start the program in: the
// benchmarks' "settings.txt", so the program looks for no addresses, and for entries > 0 an
// "ips.txt" of that many entries. Answers its Windows path.
std::string StartFolder(const std::string& root, const std::string& name, int entries = 0);

}  // namespace bench
