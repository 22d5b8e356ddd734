// What ends Vidorun.exe should an exception ever go uncaught: the program
// ends at once, as the C++ library's own handler does, without first
// writing the exception's type to a console that a window program does not
// have. The library's handler would bring its name demangler into the file
// for that (45 kB).
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    std::abort();
}

}  // namespace __gnu_cxx
