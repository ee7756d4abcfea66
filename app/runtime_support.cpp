// Linked into Velmorin.exe only. The program is built without exceptions, so the
// standard library's error paths (a broken invariant in a container, say) end in the
// fatal-error report instead of pulling in the library's exception machinery and its
// name demangler; the executable stays small.
#include <cstdlib>
#include <new>

#include "dllcall/fatal.h"

namespace {

[[noreturn]] void LibraryFailure(const char* what) {
    velmorin::ReportFatalError(0, what != nullptr ? what : "");
}

}  // namespace

namespace std {

void __throw_bad_alloc() {
    LibraryFailure("bad_alloc");
}
void __throw_length_error(const char* what) {
    LibraryFailure(what);
}
void __throw_logic_error(const char* what) {
    LibraryFailure(what);
}
void __throw_out_of_range_fmt(const char* what, ...) {
    LibraryFailure(what);
}
void __throw_bad_function_call() {
    LibraryFailure("bad_function_call");
}

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    LibraryFailure("terminate");
}

}  // namespace __gnu_cxx
