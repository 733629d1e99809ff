// The one shape of every seam of the program: a table of the few system calls that tests must
// see or steer (start a program, show a message box, send a shell-icon request ...), with the
// system's own functions as the real table. The code calls through the table in use; a test
// changes entries of it inside a SeamScope, which puts the table back at the end of its scope.
//   launch::Seam<LaunchCalls>& LaunchSeam();      // one accessor per table
//   LaunchSeam().InUse.OpenWithShell(request);    // the code
//   launch::SeamScope scope(LaunchSeam());        // a test
//   scope->OpenWithShell = &Record;
#pragma once

namespace launch {

template <typename Calls>
struct Seam {
  const Calls Real;
  Calls InUse = Real;
};

template <typename Calls>
class SeamScope {
 public:
  explicit SeamScope(Seam<Calls>& seam) : seam_(seam), saved_(seam.InUse) {}
  SeamScope(const SeamScope&) = delete;
  SeamScope& operator=(const SeamScope&) = delete;
  ~SeamScope() { seam_.InUse = saved_; }

  Calls* operator->() { return &seam_.InUse; }

 private:
  Seam<Calls>& seam_;
  const Calls saved_;
};

}  // namespace launch
