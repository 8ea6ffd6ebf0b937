#include <gtest/gtest.h>

#include <cstdio>

#include "engine/Engine.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

TEST(EngineT1, Explore)
{
    for (int div : {8, 16, 32}) {
        EngineOptions o;
        o.heightDivisions = div;
        AnalysisResult r = analyse(test::caseT1(), o);
        std::printf("div %d nodes %d elems %d  applied %.4e %.4e %.4e reaction %.4e %.4e %.4e\n", div, r.nodes,
                    r.elements, r.applied.x(), r.applied.y(), r.applied.z(), r.reaction.x(), r.reaction.y(),
                    r.reaction.z());
        for (const auto& c : r.cantilevers) {
            std::printf(" slot %d A %.2f:", c.slot, c.angle);
            for (const auto& p : c.points)
                std::printf(" [%.0f %.6f up %.1f dn %.1f cl %.3f al %.3f]", p.z, p.radial, p.up.hoop, p.down.hoop,
                            p.cantLoad, p.archLoad);
            std::printf("\n");
        }
    }
}

#include "engine/Output.h"
#include "support/TestSupport.h"
TEST(EngineT1, WriteFiles)
{
    CaseModel m = test::caseT1();
    AnalysisResult r = analyse(m);
    test::writeFile("/tmp/T1.PLT", composePlt(m, r));
    test::writeFile("/tmp/T1.OUT", composeOut(m, r));
}
