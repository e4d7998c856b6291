// std::terminate ends the program without libstdc++'s verbose handler. That
// handler prints the uncaught exception's demangled type to stderr, which a
// windowed program does not have, before it aborts; its demangler alone was
// a sixth of the exe. Defining the handler here keeps the library's copy out.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
