// What runs when an exception escapes everything (it never should: every callback runs its
// code under the error guard, and start-up has its own fatal box). The run-time library's
// default handler would print the exception's type to the standard error stream, which a GUI
// program does not have, and would bring the library's whole general demangler into the
// program (about 46 KB of the exe) for that alone. Ending at once serves the same purpose.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
