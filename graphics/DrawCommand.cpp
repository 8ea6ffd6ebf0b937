#include "graphics/DrawCommand.h"

#include "graphics/ViewTable.h"
#include "model/Numbers.h"

namespace velta {

namespace {

bool parseSize(const std::string& text, int& w, int& h)
{
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    const auto pw = tryParseInteger(text.substr(0, x));
    const auto ph = tryParseInteger(text.substr(x + 1));
    if (!pw || !ph || *pw < 1 || *ph < 1 || *pw > kMaxImageSide || *ph > kMaxImageSide) return false;
    if (text.find_first_not_of("0123456789x") != std::string::npos) return false;
    w = *pw;
    h = *ph;
    return true;
}

} // namespace

bool isViewName(const std::string& v)
{
    return viewByName(v) != nullptr;
}

bool viewNeedsResults(const std::string& v)
{
    const ViewSpec* spec = viewByName(v);
    return spec && spec->needsResults;
}

bool viewAvailable(const ViewContext& s, const std::string& v)
{
    const ViewSpec* spec = viewByName(v);
    return spec && viewAvailable(s.main, *spec);
}

std::string parseDrawOptions(const std::vector<std::string>& args, DrawOptions& o)
{
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
        if (a == "--results") {
            if (i + 2 >= args.size()) return "--results needs two files: RESULTS.PLT RESULTS.OUT";
            o.pltPath = args[++i];
            o.outPath = args[++i];
        } else if (a == "--si") {
            o.si = true;
        } else if (a == "--size") {
            const std::string* v = value();
            if (!v || !parseSize(*v, o.width, o.height))
                return "--size needs WxH with W and H from 1 to " + std::to_string(kMaxImageSide);
        } else if (a == "--values") {
            const std::string* v = value();
            const auto n = v ? tryParseInteger(*v) : std::nullopt;
            if (!n || *n < 0 || *n > 2) return "--values needs 0, 1 or 2";
            o.valuesMode = *n;
        } else if (a == "--log") {
            const std::string* v = value();
            if (!v) return "--log needs a file";
            o.logPath = *v;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 3) return "draw needs CASE.dat VIEW OUT.png";
    o.casePath = positional[0];
    o.view = positional[1];
    o.pngPath = positional[2];
    if (!isViewName(o.view))
        return "unknown view " + o.view + " (" + viewNameList() + ")";
    if (viewNeedsResults(o.view) && o.pltPath.empty()) return "the " + o.view + " view needs --results";
    return {};
}

bool drawNamedView(const ViewContext& s, Canvas& c, const std::string& v)
{
    const ViewSpec* spec = viewByName(v);
    return spec && spec->draw(s, c);
}

} // namespace velta
