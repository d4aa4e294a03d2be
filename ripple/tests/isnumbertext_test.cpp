#include "ripple/isnumbertext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NumberCase {
    std::string text;
    bool accepted;
};

const std::vector<NumberCase> kNumberCases = {
    {"0", true},
    {"58", true},
    {"-0.25", true},
    {"+3", true},
    {"007.50", true},
    {" 0.500000000000000000", true},
    {"-0.125000000000000000", true},
    {"1.5e-3", true},
    {"1.5E+03", true},
    {"2e5", true},
    {"2E5", true},
    {"1e-5", true},
    {"\t1.25", true},
    {"1.25   ", true},
    {"1 e 5", true},
    {" \t1.5 \t E \t-7 \t", true},
    {"+-1.5", true},
    {"1e+-5", true},
    {"", false},
    {"   ", false},
    {" \t ", false},
    {".5", false},
    {"5.", false},
    {"1.2.3", false},
    {".", false},
    {"1,5", false},
    {"1 000", false},
    {"- 5", false},
    {"0x10", false},
    {"-+1", false},
    {"++1", false},
    {"--1", false},
    {"+", false},
    {"-", false},
    {"e5", false},
    {"E5", false},
    {"1e", false},
    {"1e-", false},
    {"1e+", false},
    {"1e5e3", false},
    {"1E5e3", false},
    {"1e5E3", false},
    {"1.5e3.0", false},
    {"1.5\r", false},
    {"1e++5", false},
    {"1e--5", false},
    {"1e+ 5", false},
    {"1.5e3x", false},
    {" +1", true},
    {"1e5\t", true},
    {"1E-05 ", true},
    {"1.e5", false},
    {".5e5", false},
    {"1e-+5", false},
    {"+ 1", false},
    {"\v1", false},
    {"1\n", false},
    {"e", false},
    {"1.5 e", false},
};

TEST(IsNumberText, AcceptsExactlyTheNumberForms) {
    for (const NumberCase& c : kNumberCases) EXPECT_EQ(IsNumberText(c.text), c.accepted) << '"' << c.text << '"';
}

}  // namespace
