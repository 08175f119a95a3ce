#include "ResultTestSupport.h"
#include "RunSummary.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const LocalDateTime kNow{2024, 3, 7, 14, 5, 9};

std::string SummaryOf(const std::string& file) {
    Reader r;
    EXPECT_EQ(r.read(file), ReadStatus::Ok) << file;
    return WriteRunSummary(r.data(), kNow);
}

// The whole text of every kind of summary, character for character, against the texts kept in
// tests/data/summaries: the pole-zero models with their kinds of sigma zero, the series with
// and without an equation block or an offset, and a model without a block of its own (only
// the blank lines between head and foot).
TEST(RunSummary, WholeSummaryCharacterForCharacter) {
    for (const char* model :
         {"model_m2", "model_m1", "model_m1_pair", "model_m2_doublet", "model0", "model1", "model2",
          "model3", "model4", "model5", "model6", "model7", "model110"}) {
        const std::string expected = DataText("summaries/" + std::string(model) + ".txt");
        ASSERT_FALSE(expected.empty()) << model;
        EXPECT_EQ(SummaryOf(std::string(model) + ".dat"), expected) << model;
    }
}

TEST(RunSummary, OffsetThatIsNoNumberIsShownAsWritten) {
    ResultData d;
    d.modelX = 4;
    d.y0Text = "n/a";
    EXPECT_NE(WriteRunSummary(d, kNow).find("\tY-Axis offset (y0): n/a\r\n"), std::string::npos);
}

TEST(RunSummary, PadTextPadsToOneLessThanWidth) {
    const std::string x60(60, 'x'), ete = "\xc3\xa9t\xc3\xa9"; // three characters, five bytes
    const std::tuple<std::string, int, std::string> cases[] = {
        {"  abc  ", 6, "abc  "}, {x60, 54, x60}, {ete, 6, ete + "  "}};
    for (const auto& [text, width, padded] : cases)
        EXPECT_EQ(PadText(text, width), padded) << text << " / " << width;
}

} // namespace
