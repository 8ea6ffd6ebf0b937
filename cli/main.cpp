// velta-cli: the batch tool.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: velta-cli COMMAND ...\n");
        return 2;
    }
    std::fprintf(stderr, "velta-cli: unknown command '%s'\n", argv[1]);
    return 2;
}
