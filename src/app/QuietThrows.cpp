// The standard library's throw helpers, defined here so that libstdc++'s own
// copy stays out of the exe: its exceptions carry the old copy-on-write
// strings, which brought in a second whole std::string (about 45 KB). What
// the program does with an exception is unchanged: the dialog base's barrier
// catches every kind alike, anywhere else it ends the program, and nothing
// reads an exception's message.
#include <exception>
#include <new>

namespace {

// Stands for the library's length, logic and range errors.
struct LibraryError : std::exception {};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char*) { throw LibraryError(); }
void __throw_logic_error(const char*) { throw LibraryError(); }
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryError(); }

}  // namespace std
