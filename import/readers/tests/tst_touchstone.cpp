#include "MeasuredResponse.h"
#include "Touchstone.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace veltrana;

namespace {

std::string Data(const char* name) {
    return std::string(VELTRANA_TEST_DATA) + "/" + name;
}

struct FileCase {
    const char* file;
    const char* parameter; // "" for the default
    std::vector<double> freqMHz;
    std::vector<double> magnitude;
};

// Magnitudes worked out by hand from the files' rows.
const FileCase kFiles[] = {
    // RI, Hz: |0.6+0.8j| = sqrt(.36+.64) = 1; |0.3-0.4j| = sqrt(.09+.16) = .5;
    // |0.05+0.12j| = sqrt(.0025+.0144) = .13. The 0 Hz row is S21 = 1+0j. S12 differs in every
    // row, so reading the pairs in the wrong order shows.
    {"filter_ri.s2p", "", {0, 100, 200, 300}, {1, 1, 0.5, 0.13}},
    {"filter_ri.s2p", "S12", {0, 100, 200, 300}, {0.9, 0.9, 0.13, 1}},
    // MA, GHz, upper-case extension: magnitudes .5 and .25 as written.
    {"filter_ma.S2P", "S21", {100, 200}, {0.5, 0.25}},
    // DB: 10^(0/20) = 1, 10^(-20/20) = .1, 10^(-40/20) = .01.
    {"filter_db.s2p", "", {100, 200, 300}, {1, 0.1, 0.01}},
    // S12 of the same file: 10^(-40/20) = .01, 10^(-6/20) = .50119, 10^(0/20) = 1.
    {"filter_db.s2p", "S12", {100, 200, 300}, {0.01, 0.501187233627, 1}},
    // Version 2.0 in the order 12_21: S21 is the third pair, 0.6+0.8j and 0.3-0.4j.
    {"filter_v2.s2p", "S21", {100, 200}, {1, 0.5}},
    {"filter_v2.s2p", "s12", {100, 200}, {0.9, 0.9}},
    // Three ports, one row per line: S21 opens the second line, S13 ends the first.
    {"three_port.s3p", "", {1000, 2000}, {1, 0.13}},
    {"three_port.s3p", "S13", {1000, 2000}, {0.3, 0.4}},
    // No option line: GHz and MA.
    {"one_port.s1p", "", {1000, 2000}, {0.5, 0.25}},
    // The noise parameters after the network data are not points.
    {"noise.s2p", "", {1000, 2000}, {0.5, 0.4}},
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.file << " " << c.parameter;
}

class TouchstoneFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(TouchstoneFiles, GiveTheHandWorkedMagnitudes) {
    const FileCase& c = GetParam();
    MeasuredFile file;
    ImportError error;
    ASSERT_TRUE(LoadMeasuredFile(Data(c.file), file, error)) << error.text();
    ImportChoices choices;
    choices.parameter = c.parameter;
    MeasuredResponse response;
    ASSERT_TRUE(MeasuredResponseOf(file, choices, response, error)) << error.text();
    EXPECT_THAT(response.freqMHz, testing::Pointwise(testing::DoubleEq(), c.freqMHz));
    EXPECT_THAT(response.yout, testing::Pointwise(testing::DoubleNear(1e-12), c.magnitude));
}

INSTANTIATE_TEST_SUITE_P(HandWritten, TouchstoneFiles, ::testing::ValuesIn(kFiles));

struct BadFile {
    const char* name;
    int ports;
    const char* text;
    int line;
    const char* says;
};

const BadFile kBadFiles[] = {
    {"word among the values", 1, "# MHz S RI\n1 0.5 0\n2 0.5 abc\n", 3, "'abc' is not a number"},
    {"last point short", 2, "# MHz S RI\n1 1 0 1 0 1 0 1 0\n\n2 1 0 1 0\n! end\n", 4,
     "holds 5 of the 9 numbers"},
    {"frequency falling back", 1, "# MHz S RI\n2 0.5 0\n1 0.5 0\n", 3, "not above the one before"},
    {"two points on one line", 1, "# MHz S RI\n1 0.5 0 2 0.5 0\n", 2, "more numbers than a point"},
    {"negative frequency", 1, "# MHz S RI\n-1 0.5 0\n", 2, "not a frequency of 0 or more"},
    {"unknown format", 1, "# MHz S XY R 50\n1 0.5 0\n", 1, "'XY' in the option line"},
    {"resistance missing", 1, "# MHz S RI R x\n1 0.5 0\n", 1, "reference resistance 'x'"},
    {"keyword in version 1", 1, "# MHz S RI\n[Number of Ports] 1\n", 2, "belongs to version 2.0"},
    {"no data", 1, "! nothing\n# MHz S RI\n", 0, "holds no network data"},
    {"no ports in the name", 0, "# MHz S RI\n1 0.5 0\n", 0, "name it .s1p"},
    {"value out of range", 1, "# MHz S DB\n1 1e308 0\n", 2, "too large"},
    {"unknown keyword", 2, "[Version] 2.0\n# MHz S RI\n[Colour] red\n", 3,
     "'[Colour]' is not a Touchstone keyword"},
    {"two-port order missing", 2,
     "[Version] 2.0\n# MHz S RI\n[Number of Ports] 2\n[Number of Frequencies] 1\n[Network Data]\n",
     5, "needs [Two-Port Data Order]"},
    {"count differs", 1,
     "[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 3\n"
     "[Network Data]\n1 0.5 0\n2 0.5 0\n[End]\n",
     0, "holds 2 frequencies, but [Number of Frequencies] says 3"},
    {"data before network data", 1, "[Version] 2.0\n# MHz S RI\n[Number of Ports] 1\n1 0.5 0\n", 4,
     "before the [Network Data]"},
    {"bad version", 1, "[Version] 1.1\n", 1, "not a Touchstone version 2"},
    {"mixed mode", 4, "[Version] 2.0\n# MHz S RI\n[Number of Ports] 4\n[Mixed-Mode Order] D2,1\n",
     4, "mixed-mode"},
};

class TouchstoneErrors : public ::testing::TestWithParam<BadFile> {};

TEST_P(TouchstoneErrors, NameTheLineAndTheFault) {
    const BadFile& c = GetParam();
    TouchstoneData data;
    ImportError error;
    ASSERT_FALSE(ReadTouchstone(c.text, c.ports, data, error));
    EXPECT_EQ(error.line, c.line) << error.text();
    EXPECT_NE(error.what.find(c.says), std::string::npos) << error.text();
}

INSTANTIATE_TEST_SUITE_P(Faults, TouchstoneErrors, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(TouchstoneMatrix, VersionTwoTriangularFormatsFillTheMirroredEntries) {
    // Rows of the lower triangle: (1,1); (2,1) (2,2). The upper: (1,1) (1,2); (2,2).
    for (const char* format : {"Lower", "Upper"}) {
        const std::string text = std::string("[Version] 2.0\n# MHz S RI\n[Number of Ports] 2\n"
                                             "[Two-Port Data Order] 12_21\n"
                                             "[Number of Frequencies] 1\n[Matrix Format] ") +
                                 format + "\n[Network Data]\n5 0.1 0 0.6 0.8 0.2 0\n[End]\n";
        TouchstoneData data;
        ImportError error;
        ASSERT_TRUE(ReadTouchstone(text, 2, data, error)) << format << ": " << error.text();
        EXPECT_EQ(data.at(0, 1, 0), std::complex<double>(0.6, 0.8)) << format;
        EXPECT_EQ(data.at(0, 0, 1), std::complex<double>(0.6, 0.8)) << format;
        EXPECT_EQ(data.at(0, 1, 1), std::complex<double>(0.2, 0)) << format;
    }
}

TEST(TouchstoneNames, PortsComeFromTheExtensionInAnyCase) {
    const std::pair<const char*, int> names[] = {
        {"a.s1p", 1},  {"a.S2P", 2}, {"dir.x/a.s12p", 12}, {"a.ts", 0}, {"a.TS", 0},
        {"a.csv", -1}, {"a.sp", -1}, {"a.s0p", -1},        {"s2p", -1}, {"a.s99p", -1}};
    for (const auto& [name, ports] : names)
        EXPECT_EQ(TouchstonePortsOfName(name), ports) << name;
}

TEST(TouchstoneNames, ParameterNamesReadBackAsTheirEntry) {
    for (int ports : {1, 2, 4, 12})
        for (int row = 0; row < ports; ++row)
            for (int column = 0; column < ports; ++column)
                EXPECT_EQ(ParseParameterName(ParameterName('S', ports, row, column), 'S', ports),
                          std::pair(row, column));
    EXPECT_EQ(ParseParameterName("S31", 'S', 2), std::nullopt);
    EXPECT_EQ(ParseParameterName("Y21", 'S', 2), std::nullopt);
    EXPECT_EQ(ParseParameterName("S2,1", 'S', 2), std::pair(1, 0));
}

} // namespace
