#include "platform/console.h"

namespace vidorun {

std::vector<std::string> programArguments(int argc, char *argv[])
{
    return std::vector<std::string>(argv, argv + argc);
}

void writeAnswer(std::FILE *stream, const std::string &utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace vidorun
