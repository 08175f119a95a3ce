#include "FollowingTextView.h"
#include "GrowingFile.h"
#include "HostileFiles.h"
#include "QtTestApp.h"
#include "TempDirTest.h"
#include "TextViewer.h"

#include <gtest/gtest.h>

#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

#include <filesystem>
#include <fstream>

using namespace veltrana;
using namespace veltrana::test;
namespace fs = std::filesystem;

namespace {

using ViewerHostileTest = TempDirTest;

// What a followed file's polls hand over in all, until the file is read.
struct Polled {
    bool exists = false;
    bool restart = false;
    std::string text;
    std::string status;
};
Polled PollToTheEnd(GrowingFile& file) {
    Polled all;
    for (int polls = 0; polls < 64; ++polls) {
        GrowingFile::Update u = file.poll();
        all.exists = u.exists;
        all.restart = all.restart || u.restart;
        all.text += u.text;
        all.status = u.status;
        if (!u.more)
            break;
    }
    return all;
}

class ViewerHostileCase : public ViewerHostileTest,
                          public ::testing::WithParamInterface<HostileCase> {};

// The followed file gives way to something else: the poll ends at once, the view is told to
// drop what it showed, and the status says what stands there now. A huge file with no line
// end comes as its end only, its one line cut.
TEST_P(ViewerHostileCase, AFollowedFileReplacedByWhatIsNoTextSaysWhatHappened) {
    const auto& [kind, name, id] = GetParam();
    const std::string path = in("out.txt");
    std::ofstream(path) << "listing\n";
    const ChildOutcome run = RunInChild([&] {
        GrowingFile file(path);
        const Polled before = PollToTheEnd(file);
        fs::remove(path);
        if (!MakeHostile(kind, path))
            return std::string("skip");
        const Polled after = PollToTheEnd(file);
        return before.text + "|" + std::to_string(after.exists) + std::to_string(after.restart) +
               after.status + "|" + after.text;
    });
    EXPECT_TRUE(run.finished) << "no answer within the deadline";
    fs::remove_all(path);
    if (run.text == "skip")
        GTEST_SKIP() << kSkipped;
    EXPECT_LT(run.grownKb, 64 << 10);
    if (kind == Hostile::Sparse1G) {
        const std::string shown = "[... the first 1016 MB of this file are not shown]\n" +
                                  std::string(GrowingFile::kMaxLineBytes, '\0') +
                                  GrowingFile::kCutMark;
        EXPECT_EQ(run.text, "listing\n|11|" + shown);
    } else {
        EXPECT_EQ(run.text.substr(0, 12), "listing\n|01'");
        EXPECT_NE(run.text.find(RefusalText(kind)), std::string::npos) << run.text;
    }
}
INSTANTIATE_TEST_SUITE_P(Hostile, ViewerHostileCase, ::testing::ValuesIn(kHostileCases), CaseId);

TEST_F(ViewerHostileTest, LongLinesAreCutBetweenCharactersAndTheRestLeftOut) {
    const std::size_t max = GrowingFile::kMaxLineBytes;
    const std::string cut = GrowingFile::kCutMark;
    const std::string e = "\xC3\xA9"; // two bytes in UTF-8
    // what is written (in one go, or in two), what is shown
    const std::tuple<const char*, std::string, std::string, std::string> rows[] = {
        {"just short enough", std::string(max, 'a') + "\nb\n", "", std::string(max, 'a') + "\nb\n"},
        {"one byte too long", std::string(max + 1, 'a') + "\nb\n", "",
         std::string(max, 'a') + cut + "\nb\n"},
        {"a character across the limit stays whole", std::string(max - 1, 'a') + e + "zz\n", "",
         std::string(max - 1, 'a') + e + cut + "\n"},
        {"cut over two writes", std::string(max - 5, 'a'), std::string(20, 'b') + "\r\nc",
         std::string(max - 5, 'a') + std::string(5, 'b') + cut + "\nc"},
    };
    for (const auto& [name, first, second, shown] : rows) {
        SCOPED_TRACE(name);
        const std::string path = in(name);
        std::ofstream(path, std::ios::binary) << first;
        GrowingFile file(path);
        std::string text = file.poll().text;
        std::ofstream(path, std::ios::binary | std::ios::app) << second;
        text += file.poll().text;
        EXPECT_EQ(text, shown);
    }
}

TEST_F(ViewerHostileTest, AFollowedNameSwappedWithAPipeShowsTheFileOrWhyNot) {
    const std::string path = in("out.txt"), content = "a listing\nof two lines\n";
    PathSwapper swapper(path, content);
    const ChildOutcome run = RunInChild([&] {
        GrowingFile file(path);
        return TallyReads([&] {
            const GrowingFile::Update u = file.poll();
            if (u.exists && u.status.empty())
                return (u.restart ? u.text == content : u.text.empty()) ? Verdict::Whole
                                                                        : Verdict::Other;
            return !u.exists && !u.status.empty() ? Verdict::Refused : Verdict::Other;
        });
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(ParseTally(run.text).other, 0) << run.text;
}

// The viewer's window over a huge file without line ends: it holds its end, one cut line.
TEST_F(ViewerHostileTest, TheViewOfAHugeLineHoldsItsEndCut) {
    EnsureApp();
    const std::string path = in("huge");
    ASSERT_TRUE(MakeHostile(Hostile::Sparse1G, path));
    const Deadline deadline("Viewing a 1 GB line");
    FollowingTextView view(QString::fromStdString(path), 20);
    const QString mark = QString::fromLatin1(GrowingFile::kCutMark);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.toPlainText().endsWith(mark); }, 3000));
    QTest::qWait(100);
    EXPECT_EQ(view.document()->blockCount(), 2);
    EXPECT_LT(view.document()->characterCount(), int(GrowingFile::kMaxLineBytes) + 100);
    EXPECT_EQ(view.status(), "");
}

// The window says in its status bar what became of the file, and shows the file again once
// it is back.
TEST_F(ViewerHostileTest, TheStatusBarSaysWhatBecameOfTheFile) {
    EnsureApp();
    const std::string path = in("out.txt");
    std::ofstream(path) << "first\n";
    const Deadline deadline("Following a file that becomes a pipe");
    TextViewer viewer(QString::fromStdString(path));
    const auto status = [&] { return viewer.statusBar()->currentMessage().toStdString(); };
    // what becomes of the file, what the status bar says
    const std::pair<std::function<void()>, std::string> steps[] = {
        {[&] { fs::remove(path); }, "'" + path + "' was removed."},
        {[&] { ::mkfifo(path.c_str(), 0600); },
         "'" + path + "' is a named pipe (FIFO), not a regular file."},
        {[&] { fs::remove(path), fs::create_directory(path); },
         "'" + path + "' is a directory, not a regular file."},
        {[&] { fs::remove(path), std::ofstream(path) << "back\n"; }, ""},
    };
    for (const auto& [become, said] : steps) {
        SCOPED_TRACE(said);
        become();
        viewer.view().refresh();
        EXPECT_EQ(status(), said);
        EXPECT_EQ(viewer.view().placeholderText().toStdString(), said);
        EXPECT_EQ(viewer.view().toPlainText(), said.empty() ? "back\n" : "");
    }
}

} // namespace

// More lines than the view holds: it keeps the last ones and drops the oldest.
TEST_F(ViewerHostileTest, TheViewKeepsTheLastLinesOfAFileBeyondItsBudget) {
    EnsureApp();
    const int lines = FollowingTextView::kMaxLines + 10'000;
    {
        std::ofstream out(in("many"));
        for (int i = 0; i < lines; ++i)
            out << i << '\n';
    }
    const Deadline deadline("Viewing more lines than the view holds", std::chrono::seconds(30));
    FollowingTextView view(QString::fromStdString(in("many")), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.caughtUp(); }, 25'000));
    const QTextDocument* doc = view.document();
    EXPECT_LE(doc->blockCount(), FollowingTextView::kMaxLines + 1);
    EXPECT_GE(doc->blockCount(), FollowingTextView::kMaxLines * 9 / 10);
    EXPECT_EQ(doc->lastBlock().previous().text().toInt(), lines - 1);
    EXPECT_EQ(doc->firstBlock().text().toInt(), lines - doc->blockCount() + 1);
}
