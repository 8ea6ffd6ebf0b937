#pragma once
// The input deck's cards, described once: which card, which fields, where
// each field ends and how its number is written. The deck writer places
// values by this table, the deck reader and the analysis engine find them
// by it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velta::deck {

enum class FieldFormat {
    F3,       // fixed, three decimals
    F2,       // R2-rounded, two decimals
    Integer,  // plain integer
};

struct FieldSpec {
    const char* name;
    int endColumn;  // 1-based column at which the value ends
    FieldFormat format;
};

struct CardSpec {
    const char* key;        // the card's first characters
    int firstValueColumn;   // where the numeric part of the card begins
    std::vector<FieldSpec> fields;
};

// Card keys.
inline constexpr std::string_view kMasterCard = "MASTERIO  111011111";
inline constexpr std::string_view kTitleKey = "1   0";
inline constexpr std::string_view kConstantCard2 = "2   0     011111101";
inline constexpr std::string_view kOptionsKey = "3   0";
inline constexpr std::string_view kElevationsKey = "4   0";
inline constexpr std::string_view kBaseKey = "3   1";
inline constexpr std::string_view kRightBaseKey = "4   1";
inline constexpr std::string_view kCrestKey = "6   1";
inline constexpr std::string_view kArchKey = "7   1";
inline constexpr std::string_view kWeightKey = "1   3";
inline constexpr std::string_view kEndCard = "*ENDFILE";

// Constant solver-control cards, written verbatim.
inline constexpr std::string_view kControlCard12 = "1   2           1   1 11111    01";
inline constexpr std::string_view kControlCard14 =
    "1   4     00 00     100000000000          10  0               10100110000000";
inline constexpr std::string_view kControlCard13Off =
    "1   3     000000000000000 0010000  00001 001100101010000 00    0";
inline constexpr std::string_view kControlCard13On =
    "1   3     000000000000000 0010000  00001 001100101010000 00    1";
inline constexpr std::string_view kControlCard15 =
    "1   5     1     1   11  1     0 000 0   000       2         11111  01";
inline constexpr std::string_view kControlCard110 = "1  10      1             1";
inline constexpr int kWeightColumn = 64;  // column of the weight switch on card "1   3"

// Card "3   0": single-character options in columns 13..23, then materials.
inline constexpr int kThUniColumn = 13, kThLinColumn = 14, kTailwaterColumn = 16, kCentresColumn = 20,
                     kVariableModuliColumn = 21;
enum OptionsField { kEc, kNuc, kThec, kWc, kEr, kNur };
const CardSpec& optionsCard();

// Card "4   0".
enum ElevationsField { kBaseElev, kTopElev, kRwe, kTwe, kGroutElev };
const CardSpec& elevationsCard();

// Card "3   1": abscissas at the base, radius, and a constant -0.01.
enum BaseField { kBaseUpstream, kBaseDownstream, kBaseDownstreamLoC, kBaseUpstreamLoC, kBaseRadius, kBaseConstant };
const CardSpec& baseCard();

// Card "4   1" (two centres only).
enum RightBaseField { kRightBaseDownstreamLoC, kRightBaseUpstreamLoC, kRightRadius };
const CardSpec& rightBaseCard();

// Cards "5   1 1".."5   1 6": one row of a face table.
enum RowField { kRowNumber, kRowElevation, kRowSlope, kRowCircleX, kRowCircleZ, kRowCircleRadius };
const CardSpec& rowCard();
// Group k = 1..6 describes face table rowCardTable(k).
int rowCardTable(int k);
std::string rowCardKey(int k);

// Card "6   1": crest abscissas.
enum CrestField { kCrestUpstream, kCrestDownstream, kCrestDownstreamLoC, kCrestUpstreamLoC, kCrestRightDownstreamLoC, kCrestRightUpstreamLoC };
const CardSpec& crestCard();

// Card "7   1": one arch; procedure control code in column 6.
inline constexpr int kArchCodeColumn = 6;
enum ArchField { kArchElevation, kArchPhiL, kArchPhiR, kArchUniTemp, kArchLinTemp, kArchDefL, kArchDefR };
const CardSpec& archCard();

// Appends blanks while the line is shorter than endColumn - text.size(),
// then the text: a value ends at endColumn when it fits, and runs past it
// when it does not.
void placeField(std::string& line, int endColumn, const std::string& text);
std::string formatValue(FieldFormat f, double v);

// The value texts of a card's fields, in the card's field order; an empty
// optional is a field left blank. Fields are found by the columns the writer
// gives them, so values written too long for their room, or typed short of
// their end column, read back exactly.
std::vector<std::optional<std::string>> readFields(std::string_view line, const CardSpec& card);

// Text of 1-based columns [first, first + width), cut where the line ends.
std::string window(std::string_view line, int first, int width);

}  // namespace velta::deck
