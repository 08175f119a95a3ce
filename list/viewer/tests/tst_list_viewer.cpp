#include "FollowingTextView.h"
#include "GrowingFile.h"
#include "QtTestApp.h"
#include "TempDirTest.h"
#include "TextViewer.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

enum class Step { Append, Rewrite, Overwrite, Remove };

class ViewerTest : public test::TempDirTest {
protected:
    void apply(Step step, const std::string& bytes) {
        const std::string path = in("out.txt");
        // A rewrite is a new file under the old name, as a program writing afresh leaves it.
        if (step == Step::Remove || step == Step::Rewrite)
            fs::remove(path);
        // Overwriting in place keeps the inode: only the first bytes tell the new file.
        if (step != Step::Remove)
            std::ofstream(path, std::ios::binary |
                                    (step == Step::Overwrite ? std::ios::trunc : std::ios::app))
                << bytes;
    }
};

} // namespace

TEST_F(ViewerTest, PollsHandOverWhatWasAddedAsUtf8WithLfLineEnds) {
    // step, bytes written, then what the poll says: exists, restart, text
    const std::vector<std::tuple<Step, std::string, bool, bool, std::string>> cases = {
        {Step::Remove, "", false, false, ""},
        {Step::Append, "one\r\ntw", true, true, "one\ntw"},
        {Step::Append, "o\r", true, false, "o"},
        {Step::Append, "\nthree\n", true, false, "\nthree\n"},
        // A character split between two writes waits for its second byte, even over a poll
        // that finds nothing new.
        {Step::Append, "caf\xC3", true, false, "caf"},
        {Step::Append, "", true, false, ""},
        {Step::Append, "\xA9\n", true, false, "\xC3\xA9\n"},
        // Windows-1252 bytes, as in the input files.
        {Step::Append, "Gr\xFC\xDF\n", true, false, "Gr\xC3\xBC\xC3\x9F\n"},
        {Step::Rewrite, "new\n", true, true, "new\n"},
        {Step::Overwrite, "NEW and longer\n", true, true, "NEW and longer\n"},
        {Step::Remove, "", false, true, ""},
        {Step::Append, "back\n", true, true, "back\n"},
    };
    GrowingFile file(in("out.txt"));
    int i = 0;
    for (const auto& [step, bytes, exists, restart, text] : cases) {
        SCOPED_TRACE(i++);
        apply(step, bytes);
        const GrowingFile::Update u = file.poll();
        EXPECT_EQ(std::tie(u.exists, u.restart, u.text), std::tie(exists, restart, text));
    }
}

TEST_F(ViewerTest, AHugeFileComesInPieces) {
    std::string text(GrowingFile::kChunkBytes * 2 + 10, 'x');
    for (std::size_t i = 99; i < text.size(); i += 100)
        text[i] = '\n';
    std::ofstream(in("out.txt")) << text;
    GrowingFile file(in("out.txt"));
    const std::size_t chunk = GrowingFile::kChunkBytes;
    for (const auto& [size, more] :
         {std::pair{chunk, true}, {chunk, true}, {std::size_t{10}, false}}) {
        const GrowingFile::Update u = file.poll();
        EXPECT_EQ(std::pair(u.text.size(), u.more), std::pair(size, more));
    }
}

TEST_F(ViewerTest, ViewFollowsTheFileAsItGrowsAndIsReplaced) {
    test::EnsureApp();
    std::ofstream(in("out.txt")) << "first\n";
    FollowingTextView view(QString::fromStdString(in("out.txt")), 20);
    EXPECT_EQ(view.toPlainText(), "first\n");
    std::ofstream(in("out.txt"), std::ios::app) << "second\n";
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.toPlainText() == "first\nsecond\n"; }, 2000));
    apply(Step::Rewrite, "fresh\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.toPlainText() == "fresh\n"; }, 2000));
}

TEST_F(ViewerTest, FindGoesOnFromTheCursorAndWrapsRound) {
    test::EnsureApp();
    std::ofstream(in("out.txt")) << "alpha beta\ngamma beta\ndelta\n";
    TextViewer viewer(QString::fromStdString(in("out.txt")));
    // text, backward, found, where the selection starts afterwards
    const std::tuple<const char*, bool, bool, int> cases[] = {
        {"beta", false, true, 6}, {"beta", false, true, 17},  {"beta", false, true, 6},
        {"beta", true, true, 17}, {"zeta", false, false, 17}, {"DELTA", false, true, 22},
        {"", false, false, 22},
    };
    for (const auto& [text, backward, found, selectionStart] : cases) {
        SCOPED_TRACE(std::string(text) + (backward ? " back" : ""));
        EXPECT_EQ(viewer.find(text, backward), found);
        EXPECT_EQ(viewer.view().textCursor().selectionStart(), selectionStart);
    }
    viewer.show();
    viewer.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    QTest::keySequence(&viewer, QKeySequence::Find);
    auto* field = viewer.findChild<QLineEdit*>("txtFind");
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isVisible());
}
