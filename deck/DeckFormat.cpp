#include "deck/DeckFormat.h"

#include <algorithm>

#include "model/CaseModel.h"
#include "model/Numbers.h"

namespace velta::deck {

const CardSpec& optionsCard()
{
    static const CardSpec c{"3   0", 24,
                            {{"Ec", 32, FieldFormat::F3},
                             {"Nuc", 38, FieldFormat::F3},
                             {"Thec", 43, FieldFormat::F3},
                             {"Wc", 51, FieldFormat::F3},
                             {"Er", 58, FieldFormat::F3},
                             {"Nur", 64, FieldFormat::F3}}};
    return c;
}

const CardSpec& elevationsCard()
{
    static const CardSpec c{"4   0", 6,
                            {{"BaseElev", 19, FieldFormat::F3},
                             {"TopElev", 28, FieldFormat::F3},
                             {"Rwe", 37, FieldFormat::F3},
                             {"Twe", 46, FieldFormat::F3},
                             {"GroutElev", 55, FieldFormat::F3}}};
    return c;
}

const CardSpec& baseCard()
{
    static const CardSpec c{"3   1", 6,
                            {{"-UpstreamAbscissa", 18, FieldFormat::F3},
                             {"DownstreamAbscissa", 28, FieldFormat::F3},
                             {"Radius-DownstreamLoC", 39, FieldFormat::F3},
                             {"Radius-UpstreamLoC", 49, FieldFormat::F3},
                             {"Radius", 59, FieldFormat::F3},
                             {"Constant", 68, FieldFormat::F3}}};
    return c;
}

const CardSpec& rightBaseCard()
{
    static const CardSpec c{"4   1", 6,
                            {{"RadiusR-RightDownstreamLoC", 18, FieldFormat::F3},
                             {"RadiusR-RightUpstreamLoC", 28, FieldFormat::F3},
                             {"RadiusR", 39, FieldFormat::F3}}};
    return c;
}

const CardSpec& rowCard()
{
    static const CardSpec c{"5   1 k", 8,
                            {{"Row", 9, FieldFormat::Integer},
                             {"Elevation", 20, FieldFormat::F3},
                             {"Slope", 32, FieldFormat::F3},
                             {"CircleX", 44, FieldFormat::F3},
                             {"CircleZ", 56, FieldFormat::F3},
                             {"CircleRadius", 68, FieldFormat::F3}}};
    return c;
}

int rowCardTable(int k)
{
    static const int table[7] = {-1, kUpstreamFace, kDownstreamFace, kDownstreamLoC,
                                 kUpstreamLoC, kRightDownstreamLoC, kRightUpstreamLoC};
    return (k >= 1 && k <= 6) ? table[k] : -1;
}

std::string rowCardKey(int k) { return "5   1 " + std::to_string(k); }

const CardSpec& crestCard()
{
    static const CardSpec c{"6   1", 6,
                            {{"-UpstreamCrest", 19, FieldFormat::F3},
                             {"DownstreamCrest", 30, FieldFormat::F3},
                             {"Radius-DownstreamLoCCrest", 41, FieldFormat::F3},
                             {"Radius-UpstreamLoCCrest", 52, FieldFormat::F3},
                             {"RadiusR-RightDownstreamLoCCrest", 63, FieldFormat::F3},
                             {"RadiusR-RightUpstreamLoCCrest", 74, FieldFormat::F3}}};
    return c;
}

const CardSpec& archCard()
{
    static const CardSpec c{"7   1", 7,
                            {{"Elevation", 19, FieldFormat::F3},
                             {"PhiL", 28, FieldFormat::F3},
                             {"PhiR", 35, FieldFormat::F3},
                             {"UniformTemperature", 55, FieldFormat::F2},
                             {"LinearTemperature", 60, FieldFormat::F2},
                             {"LeftRockModulus", 65, FieldFormat::F2},
                             {"RightRockModulus", 70, FieldFormat::F2}}};
    return c;
}

void placeField(std::string& line, int endColumn, const std::string& text)
{
    while (static_cast<int>(line.size() + text.size()) < endColumn) line.push_back(' ');
    line += text;
}

std::string formatValue(FieldFormat f, double v)
{
    switch (f) {
    case FieldFormat::F3: return formatF3(v);
    case FieldFormat::F2: return formatF2(v);
    case FieldFormat::Integer: return std::to_string(static_cast<long long>(v));
    }
    return {};
}

std::string window(std::string_view line, int first, int width)
{
    if (first < 1 || width <= 0 || static_cast<size_t>(first) > line.size()) return {};
    return trim(line.substr(first - 1, width));
}

namespace {

struct Token {
    std::string text;
    int first;  // 1-based columns
    int last;
};

int decimalsOf(FieldFormat f) { return f == FieldFormat::F2 ? 2 : 3; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits the numeric part of a card into tokens: an optional "-", digits,
// ".", at most the field format's decimals, and an optional exponent. The
// decimals allowed are those of the first field that a token starting there
// can belong to, so values written side by side with no blank separate.
std::vector<Token> tokenize(std::string_view line, const CardSpec& card)
{
    std::vector<Token> out;
    size_t i = card.firstValueColumn - 1;
    while (i < line.size()) {
        char c = line[i];
        if (!(isDigit(c) || c == '-' || c == '+' || c == '.')) {
            if (static_cast<unsigned char>(c) > ' ') {
                // Anything else is a token of its own, so that a mistyped
                // value fails its conversion instead of vanishing.
                size_t j = i;
                while (j < line.size() && static_cast<unsigned char>(line[j]) > ' ' && !isDigit(line[j]) &&
                       line[j] != '-' && line[j] != '.')
                    ++j;
                out.push_back({std::string(line.substr(i, j - i)), int(i) + 1, int(j)});
                i = j;
            } else {
                ++i;
            }
            continue;
        }
        FieldFormat fmt = FieldFormat::F3;
        for (const auto& f : card.fields)
            if (f.endColumn >= int(i) + 1) {
                fmt = f.format;
                break;
            }
        size_t j = i;
        if (line[j] == '-' || line[j] == '+') ++j;
        while (j < line.size() && isDigit(line[j])) ++j;
        // End of an exponent starting at k, or k itself when there is none.
        auto exponentEnd = [&line](size_t k) {
            if (k >= line.size() || (line[k] != 'E' && line[k] != 'e')) return k;
            size_t e = k + 1;
            if (e < line.size() && (line[e] == '+' || line[e] == '-')) ++e;
            if (e >= line.size() || !isDigit(line[e])) return k;
            while (e < line.size() && isDigit(line[e])) ++e;
            return e;
        };
        if (j < line.size() && line[j] == '.' && fmt != FieldFormat::Integer) {
            ++j;
            size_t k = j;
            while (k < line.size() && isDigit(line[k])) ++k;
            // Scientific notation (values of 1E8 and more) keeps all its
            // digits: nothing that follows a field starts with an exponent.
            const size_t e = exponentEnd(k);
            j = e != k ? e : std::min(k, j + decimalsOf(fmt));
        } else {
            j = exponentEnd(j);
        }
        if (j == i) j = i + 1;  // a lone sign
        out.push_back({std::string(line.substr(i, j - i)), int(i) + 1, int(j)});
        i = j;
    }
    return out;
}

}  // namespace

std::vector<std::optional<std::string>> readFields(std::string_view line, const CardSpec& card)
{
    const size_t n = card.fields.size();
    std::vector<std::optional<std::string>> values(n);
    size_t next = 0;  // first field not yet passed
    for (const Token& tok : tokenize(line, card)) {
        if (next >= n) break;
        size_t target = n;
        // (a) a token that ends exactly at a field's end column;
        for (size_t f = next; f < n && target == n; ++f)
            if (card.fields[f].endColumn == tok.last) target = f;
        // (b) a token that runs across a field's end column;
        for (size_t f = next; f < n && target == n; ++f)
            if (tok.first <= card.fields[f].endColumn && tok.last > card.fields[f].endColumn) target = f;
        // (c) the first field whose end lies after the token.
        for (size_t f = next; f < n && target == n; ++f)
            if (card.fields[f].endColumn > tok.last) target = f;
        if (target == n) break;
        values[target] = tok.text;
        next = target + 1;
    }
    return values;
}

}  // namespace velta::deck
