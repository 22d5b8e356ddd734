// A stand-in installer for the launcher tests. It writes down how many
// arguments it got and the name it was started under, into the file that
// VIDORUN_START_RECORD names.
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    const char *record = std::getenv("VIDORUN_START_RECORD");
    if (!record)
        return 2;
    std::FILE *file = std::fopen(record, "wb");
    if (!file)
        return 1;
    std::fprintf(file, "%d\n%s", argc, argc > 0 ? argv[0] : "");
    std::fclose(file);
    return 0;
}
