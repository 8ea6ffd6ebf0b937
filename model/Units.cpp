#include "model/Units.h"

#include "model/Numbers.h"

namespace velta {

double convertValue(Quantity q, double v, int from)
{
    const bool toSI = from == 0;
    switch (q) {
    case Quantity::Length: return R2(toSI ? v * 0.3048 : v / 0.3048);
    case Quantity::Modulus: return R2(toSI ? v * 6.895 : v / 6.895);
    case Quantity::UnitWeight: return R2(toSI ? v * 16.02 : v / 16.02);
    case Quantity::ThermalCoeff: return R2(toSI ? v * 9 / 5 : v * 5 / 9);
    case Quantity::TempChange: return R2(toSI ? v * 5 / 9 : v * 9 / 5);
    }
    return v;
}

std::string convertCell(Quantity q, const std::string& text, int from, int decimals)
{
    if (text.empty()) return {};
    return formatFixed(convertValue(q, parseNumber(text), from), decimals);
}

std::string unitMenuCaption(int unitSystem)
{
    return unitSystem == 0 ? "&Convert in IS unit" : "&Convert in imp. unit";
}

}  // namespace velta
