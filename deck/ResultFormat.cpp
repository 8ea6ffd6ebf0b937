#include "deck/ResultFormat.h"

#include "model/Numbers.h"

namespace velta::resultfile {

std::string_view columns(std::string_view line, int a, int b)
{
    const size_t from = static_cast<size_t>(a - 1);
    if (from >= line.size()) return {};
    return line.substr(from, static_cast<size_t>(b - a + 1));
}

bool isTitle(std::string_view line, const Title& t)
{
    return trim(columns(line, t.first, t.last)) == t.text;
}

}  // namespace velta::resultfile
