#include "GridClipboardKeys.h"
#include "MainFormFixture.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace veltrana;

namespace {

class ClipboardKeysTest : public test::MainFormFixture {
protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        showSample(false); // rows 1 to 3 of the sample, the editor open on cell (1, 1)
    }
    std::string cell(int row, int column) {
        const QTableWidgetItem* item = pass()->item(row - 1, column - 1);
        return item ? item->text().toStdString() : std::string();
    }
    static void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static std::string clipboardText() {
        return QGuiApplication::clipboard()->text().toStdString();
    }
};

TEST_F(ClipboardKeysTest, CtrlVInTheEditorPastesABlockAndCtrlZTakesItBack) {
    setClipboard("5\t.5\t.25\n6\t.5\t.125\n");
    state.dataChanged = false;
    passEditor()->setFocus();
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(1, 3), ".25");
    EXPECT_EQ(cell(2, 1), "6");
    EXPECT_EQ(cell(3, 1), "3"); // the sample's third row stays
    EXPECT_TRUE(state.dataChanged);
    EXPECT_TRUE(prompter.prompts.empty());
    EXPECT_TRUE(passEditor()->isVisible());
    QTest::keyClick(passEditor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell(1, 3), "1.0");
    EXPECT_EQ(cell(2, 1), "2");
}

TEST_F(ClipboardKeysTest, ABadCellLeavesTheGridAsItWas) {
    setClipboard("5\t.5\t.25\n6\tn/a\t.125\n");
    state.dataChanged = false;
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text,
              "Nothing was pasted: row 2, column 2 (Yin) would get 'n/a', which is not a number.");
    EXPECT_EQ(cell(1, 1), "1");
    EXPECT_EQ(cell(2, 2), "0.6");
    EXPECT_FALSE(state.dataChanged);
}

TEST_F(ClipboardKeysTest, OneValueIsPastedIntoTheEditorsText) {
    setClipboard("42");
    passEditor()->setText("1");
    passEditor()->setCursorPosition(1);
    QTest::keyClick(passEditor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(passEditor()->text().toStdString(), "142");
    EXPECT_EQ(cell(1, 1), "1"); // until the editor moves on
}

TEST_F(ClipboardKeysTest, CtrlCCopiesTheSelectedBlockOrTheEditorsCell) {
    QTest::keyClick(passEditor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), "1");
    passEditor()->hide();
    pass()->setFocus();
    pass()->clearSelection();
    pass()->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    QTest::keyClick(pass(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), "0.6\t1.1\n0.7\t1.2");
}

} // namespace
