// What ends either program when an exception escapes everything: the runtime's default
// handler would print the demangled type to a console these programs do not have, and its
// demangler alone is a tenth of each program's size.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
