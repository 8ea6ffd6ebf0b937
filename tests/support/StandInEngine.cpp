// A stand-in for VELTA_DOS.exe in the tests of the analysis run:
//     velta_stand_in_engine SECONDS [FROM TO]...
// waits SECONDS, then copies each FROM to TO. The tests' engine scripts
// `exec` it, so that stopping the run (which kills the engine's process)
// leaves no waiting child behind to hold the test's output open.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

int main(int argc, char** argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s SECONDS [FROM TO]...\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    for (int i = 2; i + 1 < argc; i += 2) {
        std::error_code ec;
        std::filesystem::copy_file(argv[i], argv[i + 1], std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "%s: %s -> %s: %s\n", argv[0], argv[i], argv[i + 1], ec.message().c_str());
            return 1;
        }
    }
    return 0;
}
