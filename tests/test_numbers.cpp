#include <gtest/gtest.h>

#include <clocale>

#include "model/Numbers.h"
#include "model/UnitRefresh.h"
#include "model/Units.h"

using namespace velta;

TEST(Numbers, FixedFormats)
{
    struct Case {
        double v;
        int decimals;
        const char* text;
    } cases[] = {
        {1200, 3, "1200.000"},   {0.05, 3, "0.050"},       {123456.789, 3, "123456.790"},
        {-20, 3, "-20.000"},     {-0.0001, 3, "0.000"},    {1000.125, 3, "1000.125"},
        {0.0005, 3, "0.001"},    {-0.0005, 3, "-0.001"},   {99999.9999, 3, "100000.000"},
        {-0.1234, 4, "-0.1234"}, {365.76, 3, "365.760"},   {1.23456789, 4, "1.2346"},
        {30.48, 2, "30.48"},     {12345678.9, 3, "12345679.000"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixed(c.v, c.decimals), c.text) << c.v;
    EXPECT_EQ(formatF2(10), "10.00");
    EXPECT_EQ(formatF2(2.345), "2.35");
    EXPECT_EQ(formatF2(-2.345), "-2.35");
    EXPECT_EQ(formatFixed(123456789.0, 3).find('E') != std::string::npos, true);
}

TEST(Numbers, GeneralFormat)
{
    EXPECT_EQ(formatGeneral(1200), "1200");
    EXPECT_EQ(formatGeneral(-20.5), "-20.5");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatGeneral(984.25), "984.25");
    EXPECT_EQ(formatGeneral(0), "0");
    EXPECT_EQ(formatGeneral(1.5e-6), "1.5E-6");
}

TEST(Numbers, ParsingIgnoresLocaleAndRejectsJunk)
{
    std::setlocale(LC_ALL, "fr_FR.UTF-8");  // harmless if not installed
    EXPECT_DOUBLE_EQ(parseNumber(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(parseNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(parseNumber("+2e3"), 2000);
    EXPECT_DOUBLE_EQ(parseNumber("3."), 3);
    for (const char* bad : {"", " ", "1,5", "abc", "1.2.3", "inf", "nan", "1e", "--1", "0x10", "1 2"})
        EXPECT_THROW(parseNumber(bad), ConversionError) << bad;
    EXPECT_EQ(parseInteger(" 12 "), 12);
    EXPECT_THROW(parseInteger("1.0"), ConversionError);
    EXPECT_EQ(formatGeneral(2.5), "2.5");
    std::setlocale(LC_ALL, "C");
}

TEST(Numbers, Rounding)
{
    EXPECT_DOUBLE_EQ(R2(30.48), 30.48);
    EXPECT_DOUBLE_EQ(R2(12.345 * 0.3048), 3.76);
    EXPECT_DOUBLE_EQ(R2(-2.345), -2.35);
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(3.5), 4);
    EXPECT_EQ(roundEven(-2.5), -2);
    EXPECT_DOUBLE_EQ(round1(1100.05), 1100.1);
    EXPECT_DOUBLE_EQ(round2(1.005), 1.01);
}

TEST(Units, ConversionsOfTheCaseModel)
{
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 300, 1), 984.25);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 100, 1), 328.08);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 100, 0), 30.48);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 30.48, 1), 100);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 12.345, 0), 3.76);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Length, 3.76, 1), 12.34);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::Modulus, 4.0, 0), 27.58);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::UnitWeight, 150, 0), 2403);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::ThermalCoeff, 5.6, 0), 10.08);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::ThermalCoeff, 5.5, 0), 9.9);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::ThermalCoeff, 10, 1), 5.56);
    EXPECT_DOUBLE_EQ(convertValue(Quantity::TempChange, 9, 0), 5.0);
    EXPECT_EQ(convertCell(Quantity::TempChange, "18", 0, 2), "10.00");
    EXPECT_EQ(convertCell(Quantity::TempChange, "-9", 1, 2), "-16.20");
    EXPECT_EQ(convertCell(Quantity::Length, "100", 0, 2), "30.48");
    EXPECT_EQ(convertCell(Quantity::Length, "100", 0, 3), "30.480");
    EXPECT_EQ(convertCell(Quantity::Length, "", 0, 3), "");
    EXPECT_THROW(convertCell(Quantity::Length, "x", 0, 3), ConversionError);
    EXPECT_EQ(unitMenuCaption(0), "&Convert in IS unit");
    EXPECT_EQ(unitMenuCaption(1), "&Convert in imp. unit");
}

TEST(Units, ConverttabfaceCopiesSlopesAndKeepsSigns)
{
    Tab3dim t;
    t(0, 0, 0) = "1000";
    t(0, 1, 0) = "20";
    t(0, 0, 1) = "1100";
    t(0, 2, 1) = "0.05";
    t(0, 5, 1) = "-500";
    Converttabface(t, 1, 0);
    EXPECT_EQ(t(1, 0, 0), "304.80");
    EXPECT_EQ(t(1, 1, 0), "6.10");
    EXPECT_EQ(t(1, 2, 1), "0.05");
    EXPECT_EQ(t(1, 5, 1), "-152.40");
    EXPECT_EQ(t(1, 3, 1), "");
}
