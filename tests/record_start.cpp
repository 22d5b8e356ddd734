// A stand-in installer and movie player for the launcher tests. It writes
// down how many arguments it got, then each of them (its own name first) on
// a line of its own, into the file that VIDORUN_START_RECORD names.
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
    std::fprintf(file, "%d", argc);
    for (int i = 0; i < argc; ++i)
        std::fprintf(file, "\n%s", argv[i]);
    std::fclose(file);
    return 0;
}
