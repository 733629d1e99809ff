// The Wine server's CPU time, read from the Linux side through Wine's view of /proc (drive
// Z:). The server of this session is the "wineserver" (or "wineserver64") process whose environment names the
// same WINEPREFIX as ours. Optional: anything unreadable gives no figure, never an error.
#pragma once

#include <cstdint>
#include <optional>

namespace bench {

class WineserverCpu {
 public:
  // Looks for the server once.
  WineserverCpu();
  bool Found() const { return pid_ != 0; }
  // User plus system time of the server so far, in 100 ns units.
  std::optional<std::uint64_t> CpuTime() const;

 private:
  unsigned long pid_ = 0;
};

}  // namespace bench
