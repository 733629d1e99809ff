// The platform seam: the real calls behind it.
#include "Platform.h"

#include "Errors.h"

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

}  // namespace

Seam<LaunchCalls>& LaunchSeam() {
  static Seam<LaunchCalls> seam{{.OpenWithShell = &ShellOpen,
                                 .WriteBytes = &WriteAll,
                                 .ReplaceExisting = &ReplaceWithBackup,
                                 .MoveToFreeName = &MoveToFreeName}};
  return seam;
}

}  // namespace launch
