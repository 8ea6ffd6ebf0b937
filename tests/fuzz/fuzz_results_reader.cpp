// libFuzzer target for the results reader. The first bytes choose the case
// (used slots, arch count, centre count, missing files); the rest is split
// into the .PLT and the .OUT. Every read must end without a crash and leave
// the results model and the view controls consistent. A good seed is six
// header bytes followed by tests/data/results/VELTA0.PLT and VELTA0.OUT, with
// bytes 4 and 5 giving the length of the .PLT.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/shell/Session.h"
#include "solver/ResultsReader.h"
#include "tests/test_results_reader_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6) return 0;
    velta::ListSink sink;
    velta::FixedPrompter prompter;
    velta::Session s(sink, prompter);
    auto& m = s.model;
    m.FirstCons = data[0] % velta::kConsSlots;
    m.LastCons = m.FirstCons + data[1] % (velta::kConsSlots - m.FirstCons);
    m.NbArcs = data[2] % (velta::kMaxArcs + 1);
    s.geo.NbCenterEdit = 1 + (data[3] & 1);
    const bool noPlt = data[3] & 2, noOut = data[3] & 4;
    for (int c = 0; c < velta::kConsSlots; ++c) m.ConsBaseElev[c] = 1000 + 20 * std::abs(c - 20);
    const size_t split = 6 + ((data[4] << 8 | data[5]) % (size - 5));
    const std::string plt(reinterpret_cast<const char*>(data) + 6, split - 6);
    const std::string out(reinterpret_cast<const char*>(data) + split, size - split);

    velta::readResults(s, noPlt ? nullptr : &plt, noOut ? nullptr : &out, "/fuzz/");

    const std::string broken = velta::test::brokenResultsInvariant(s, sink.texts());
    if (!broken.empty()) {
        std::fprintf(stderr, "broken invariant: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
