// The platform seam's table: the real entries, and the table in use that tests change.
#include "Platform.h"

namespace launch {
namespace {

bool WriteAll(NativeFile file, const char* data, std::size_t size) {
  while (size > 0) {
    const std::size_t written = WriteSome(file, data, size);
    if (written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

const LaunchPlatformTable kReal{&ShellOpen, &WriteAll, &ReplaceWithBackup};
LaunchPlatformTable g_table = kReal;

}  // namespace

LaunchPlatformTable& LaunchPlatform() { return g_table; }
const LaunchPlatformTable& RealLaunchPlatform() { return kReal; }

}  // namespace launch
