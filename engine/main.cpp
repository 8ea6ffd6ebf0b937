// VELTA_DOS.exe BASE: reads BASE.DAT, writes BASE.OUT and BASE.PLT.
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: VELTA_DOS.exe BASE\n");
        return 2;
    }
    std::fprintf(stderr, "VELTA_DOS.exe: the analysis is not available in this build\n");
    return 1;
}
