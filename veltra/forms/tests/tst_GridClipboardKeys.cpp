#include "GridClipboardKeys.h"
#include "MainFormFixture.h"
#include "PromptTitles.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace veltrana;

namespace {

constexpr const char* kSample = "1,0.5,1.0|2,0.6,1.1|3,0.7,1.2";

class ClipboardKeysTest : public test::MainFormFixture {
protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        showSample(false); // rows 1 to 3 of the sample, the editor open on cell (1, 1)
    }
    // The sample's three rows, "," between cells and "|" between rows.
    std::string rows() {
        std::string text;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                text += (c > 0 ? "," : r > 0 ? "|" : "") + pass()->item(r, c)->text().toStdString();
        return text;
    }
    static void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(ClipboardKeysTest, CtrlVInTheEditorPastesABlockAllOrNothingAndCtrlZTakesItBack) {
    state.dataChanged = false;
    passEditor()->setFocus();
    setClipboard("5\t.5\t.25\n6\tn/a\t.125\n");
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::PromptTitles(prompter), std::vector<std::string>{"Paste"});
    EXPECT_EQ(rows(), kSample);
    EXPECT_FALSE(state.dataChanged);

    setClipboard("5\t.5\t.25\n6\t.5\t.125\n");
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rows(), "5,.5,.25|6,.5,.125|3,0.7,1.2");
    EXPECT_TRUE(state.dataChanged);
    EXPECT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(passEditor()->isVisible());
    QTest::keyClick(passEditor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), kSample);
}

TEST_F(ClipboardKeysTest, OneValueIsPastedIntoTheEditorsText) {
    setClipboard("42");
    passEditor()->setText("1");
    passEditor()->setCursorPosition(1);
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(passEditor()->text().toStdString(), "142");
    EXPECT_EQ(rows(), kSample); // until the editor moves on
}

TEST_F(ClipboardKeysTest, CtrlCCopiesTheSelectedBlockOrTheEditorsCell) {
    QTest::keyClick(passEditor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1");
    passEditor()->hide();
    pass()->setFocus();
    pass()->clearSelection();
    pass()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    QTest::keyClick(pass(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.6\t1.1\n0.7\t1.2");
}

} // namespace
