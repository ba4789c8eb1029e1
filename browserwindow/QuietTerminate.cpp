// The runtime's default for an uncaught exception prints the demangled type name to the console,
// and so links a whole C++ demangler into this library, a quarter of its size. A library inside
// a windowed program has no console to print to: the handler of that name ends the process
// directly, and the linker then takes this definition instead of the runtime's.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
