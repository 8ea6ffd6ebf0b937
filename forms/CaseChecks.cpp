#include "forms/CaseChecks.h"

#include "model/Numbers.h"
#include "model/Units.h"

namespace velta {

namespace {

std::string withUnit(const std::string& text, const std::string& unit)
{
    return unit.empty() ? text : text + " " + unit;
}

std::string modulusText(const std::string& side, const std::string& elevation, const std::string& unit)
{
    return "The " + side + " rock modulus of the arch at elevation " + withUnit(trim(elevation), unit) +
           " is empty: with variable deformation moduli of the rock, every arch needs a left and a right modulus.";
}

}  // namespace

std::optional<std::string> missingRockModulus(const GridState& moduli, const std::string& unit)
{
    for (int r = 1; r <= moduli.dataRows(); ++r)
        for (int c : {1, 2})
            if (trim(moduli.cellOrEmpty(c, r)).empty())
                return modulusText(c == 1 ? "left" : "right", moduli.cellOrEmpty(0, r), unit);
    return std::nullopt;
}

std::string noGroutArchText()
{
    return "No arch is chosen as the top of grout: choose the top of grout elevation among the arches.";
}

std::optional<std::string> missingArchValue(const CaseModel& m)
{
    const int u = m.UnitSystem;
    const int n = m.archRows();
    if (m.VariableModuli)
        for (int r = n - 1; r >= 0; --r)
            for (int c : {1, 2})
                if (trim(m.DefTab(kImperial, c, r)).empty())
                    return modulusText(c == 1 ? "left" : "right", m.ArcTab(u, kArcElevation, r), lengthUnit(u));
    if (m.GroutIndex < 0 || m.GroutIndex >= n) return noGroutArchText();
    return std::nullopt;
}

std::vector<std::string> unusualMaterials(const CaseModel& m, const MaterialEditorState& f)
{
    std::vector<std::string> out;
    auto positive = [&out](const std::string& name, const std::string& text, const std::string& unit) {
        if (auto v = tryParseNumber(text); v && !(*v > 0))
            out.push_back("The " + name + " is " + withUnit(formatGeneral(*v), unit) + ": it should be greater than 0.");
    };
    auto poisson = [&out](const std::string& name, const std::string& text) {
        if (auto v = tryParseNumber(text); v && (*v < 0 || *v > 0.5))
            out.push_back("The " + name + " is " + formatGeneral(*v) + ": it should lie between 0 and 0.5.");
    };
    positive("modulus of elasticity of concrete", f.EcEdit, f.modulusUnit);
    poisson("Poisson's ratio for concrete", f.NucEdit);
    positive("unit weight of concrete", f.WcEdit, f.weightUnit);
    poisson("Poisson's ratio for rock", f.NurEdit);
    if (f.DefRadioGroup == 0) {
        positive("deformation modulus of the rock", f.EREdit, f.modulusUnit);
    } else {
        const GridState& g = f.DefStringGrid;
        for (int r = 1; r <= g.dataRows(); ++r)
            for (int c : {1, 2})
                positive(std::string(c == 1 ? "left" : "right") + " rock modulus of the arch at elevation " +
                             withUnit(trim(g.cellOrEmpty(0, r)), lengthUnit(m.UnitSystem)),
                         g.cellOrEmpty(c, r), f.modulusUnit);
    }
    return out;
}

std::vector<std::string> unusualLoads(const CaseModel& m, const LoadsEditorState& f)
{
    const int u = m.UnitSystem;
    const std::string unit = lengthUnit(u);
    std::vector<std::string> out;
    const auto rwe = tryParseNumber(f.RweEdit);
    const auto twe = tryParseNumber(f.TweEdit);
    const double top = m.TopElev[u];
    if (rwe && *rwe > top)
        out.push_back("The reservoir water elevation " + withUnit(formatGeneral(*rwe), unit) +
                      " is above the top of the dam (" + withUnit(formatGeneral(top), unit) +
                      "): it should be at the top or below.");
    if (rwe && twe && *twe > *rwe)
        out.push_back("The tailwater water elevation " + withUnit(formatGeneral(*twe), unit) +
                      " is above the reservoir water elevation (" + withUnit(formatGeneral(*rwe), unit) +
                      "): it should be at the reservoir or below.");
    return out;
}

bool confirmUnusualValues(Prompter& prompter, const std::string& title, const std::vector<std::string>& findings)
{
    if (findings.empty()) return true;
    std::string text = findings.size() == 1 ? "This value is unusual:\n" : "These values are unusual:\n";
    for (const std::string& f : findings) text += "\n" + f;
    text += findings.size() == 1 ? "\n\nKeep it?" : "\n\nKeep them?";
    return prompter.confirm(title, text);
}

}  // namespace velta
