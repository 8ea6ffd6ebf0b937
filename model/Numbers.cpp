#include "model/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace velta {

std::string trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::optional<double> tryParseNumber(std::string_view text)
{
    std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    size_t i = 0;
    bool neg = false;
    if (t[0] == '+' || t[0] == '-') {
        neg = t[0] == '-';
        i = 1;
    }
    // Only digits, one ".", and an exponent are allowed: no "inf", "nan", hex.
    bool digits = false, dot = false;
    size_t j = i;
    for (; j < t.size(); ++j) {
        char c = t[j];
        if (c >= '0' && c <= '9') digits = true;
        else if (c == '.' && !dot) dot = true;
        else break;
    }
    if (!digits) return std::nullopt;
    if (j < t.size()) {
        if (t[j] != 'e' && t[j] != 'E') return std::nullopt;
        size_t k = j + 1;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
        if (k >= t.size()) return std::nullopt;
        for (; k < t.size(); ++k)
            if (t[k] < '0' || t[k] > '9') return std::nullopt;
    }
    std::string body = t.substr(i);
    if (body[0] == '.') body.insert(body.begin(), '0');
    double v = 0;
    auto res = std::from_chars(body.data(), body.data() + body.size(), v);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size() || !std::isfinite(v))
        return std::nullopt;
    return neg ? -v : v;
}

double parseNumber(std::string_view text)
{
    if (auto v = tryParseNumber(text)) return *v;
    throw ConversionError("'" + std::string(text) + "' is not a valid number");
}

std::optional<int> tryParseInteger(std::string_view text)
{
    std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    long long v = 0;
    for (size_t k = i; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return std::nullopt;
        v = v * 10 + (t[k] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (t[0] == '-') v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<int>(v);
}

int parseInteger(std::string_view text)
{
    if (auto v = tryParseInteger(text)) return *v;
    throw ConversionError("'" + std::string(text) + "' is not a valid integer");
}

namespace {

// Decimal digits d1 d2 ... with value 0.d1d2... x 10^pointPos.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

Decimal shortestDecimal(double a)  // a > 0, finite
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    size_t e = s.find('e');
    int exp10 = std::atoi(s.c_str() + e + 1);
    Decimal d;
    for (size_t k = 0; k < e; ++k)
        if (s[k] != '.') d.digits.push_back(s[k]);
    d.pointPos = exp10 + 1;
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero.
void roundDigits(Decimal& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int k = keep - 1;
        while (k >= 0 && d.digits[k] == '9') d.digits[k--] = '0';
        if (k >= 0) {
            ++d.digits[k];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

}  // namespace

std::string formatFixed(double x, int decimals)
{
    if (!std::isfinite(x)) return std::isnan(x) ? "NAN" : (x > 0 ? "INF" : "-INF");
    if (std::fabs(x) >= 1e8) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 7);
        std::string s(buf, res.ptr);
        for (char& c : s)
            if (c == 'e') c = 'E';
        return s;
    }
    std::string out;
    if (x != 0) {
        Decimal d = shortestDecimal(std::fabs(x));
        roundDigits(d, std::min(8, d.pointPos + decimals));
        if (!d.digits.empty()) {
            if (x < 0) out.push_back('-');
            // Integer part.
            if (d.pointPos <= 0) {
                out.push_back('0');
            } else {
                for (int k = 0; k < d.pointPos; ++k)
                    out.push_back(k < static_cast<int>(d.digits.size()) ? d.digits[k] : '0');
            }
            if (decimals > 0) {
                out.push_back('.');
                for (int k = 0; k < decimals; ++k) {
                    int idx = d.pointPos + k;
                    out.push_back(idx >= 0 && idx < static_cast<int>(d.digits.size()) ? d.digits[idx] : '0');
                }
            }
            return out;
        }
    }
    out = "0";
    if (decimals > 0) out += "." + std::string(decimals, '0');
    return out;
}

std::string formatF2(double x) { return formatFixed(R2(x), 2); }

std::string formatGeneral(double x)
{
    if (!std::isfinite(x)) return std::isnan(x) ? "NAN" : (x > 0 ? "INF" : "-INF");
    if (x == 0) return "0";
    char buf[64];
    // to_chars never looks at the locale, unlike printf.
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    std::string s(buf, res.ptr);
    size_t e = s.find('e');
    if (e == std::string::npos) return s;
    // 1.5e-06 -> 1.5E-6
    std::string mant = s.substr(0, e);
    int exp10 = std::atoi(s.c_str() + e + 1);
    return mant + "E" + (exp10 < 0 ? "-" : "") + std::to_string(std::abs(exp10));
}

double R2(double x)
{
    double q = x >= 0 ? x / 0.01 + 0.5 : x / 0.01 - 0.5;
    return std::trunc(q) * 0.01;
}

namespace {
double roundAway(double x, int decimals)
{
    // Round on the shortest decimal form so that 1.005 is taken as typed.
    if (x == 0 || !std::isfinite(x)) return x;
    Decimal d = shortestDecimal(std::fabs(x));
    roundDigits(d, d.pointPos + decimals);
    std::string s = d.digits.empty() ? "0" : "0." + d.digits + "e" + std::to_string(d.pointPos);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return x < 0 ? -v : v;
}
}  // namespace

double round2(double x) { return roundAway(x, 2); }
double round1(double x) { return roundAway(x, 1); }

long roundEven(double x) { return std::lrint(x); }

}  // namespace velta
