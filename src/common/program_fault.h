// A fault of the program itself, such as a menu item without a handler: the unit tests see
// it as a std::logic_error; the Windows programs, built without exceptions to stay small,
// stop at once rather than run on with a menu that does nothing.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#if defined(__cpp_exceptions)
#include <stdexcept>
#endif

namespace zv {

[[noreturn]] inline void ProgramFault(const std::string& what) {
#if defined(__cpp_exceptions)
    throw std::logic_error(what);
#else
    std::fputs(what.c_str(), stderr);
    std::abort();
#endif
}

}  // namespace zv
