// What ends either program when an exception escapes everything: the runtime's default
// handler would print the demangled type to a console these programs do not have, and its
// demangler alone is a tenth of each program's size.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

// The runtime reports a fault of its own (an index out of range, a length too great, no
// memory) by throwing. Nothing in either program catches, so a throw ends the program all
// the same; ending it here keeps out the exception classes and the old string they are
// built on, some 25 KB of each program.
namespace std {
[[noreturn]] void __throw_bad_alloc() {
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    std::abort();
}
[[noreturn]] void __throw_bad_function_call() {
    std::abort();
}
[[noreturn]] void __throw_length_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_invalid_argument(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
[[noreturn]] void __throw_runtime_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_system_error(int) {
    std::abort();
}
}  // namespace std
