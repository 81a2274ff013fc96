// The program's handler for an exception nobody caught. The C++ library's own handler writes the
// exception's type name to the standard error stream, which this windowed program does not have,
// and links in the library's name demangler for it, a tenth of the program's size. Every window
// procedure and the entry catch what they can; what still escapes ends the program at once.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
