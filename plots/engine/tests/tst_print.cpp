#include "FileBytes.h"
#include "PrintPlot.h"

#include "QtTestApp.h"
#include "TempDirTest.h"
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

using namespace veltrana;

namespace {

TEST(PrintPlot, FitKeepsTheShapeAndLeavesRoomForTheFooter) {
    const std::tuple<int, int, double, double, double, PrintFit> cases[] = {
        {400, 200, 1000, 800, 0, {1000, 500}},  // wider than the page: full width
        {500, 400, 1000, 820, 20, {1000, 800}}, // ... with the footer kept free below
        {0, 400, 1000, 800, 0, {0, 0}},         // nothing to print
    };
    for (const auto& [w, h, pw, ph, footer, fit] : cases)
        EXPECT_EQ(FitPicture(w, h, pw, ph, footer), fit) << w << "x" << h;
}

// Prints a red picture to a PDF file and looks at the page as an image.
QImage PrintedPage(const QTemporaryDir& dir, const QImage& picture) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath("plot.pdf");
    printer.setOutputFileName(pdf);
    EXPECT_TRUE(TryPrintPlot(printer, picture, "/data/run1.dat", " 4.5E-02"));
    const std::string text = dir.filePath("page.txt").toStdString();
    EXPECT_EQ(std::system(("pdftotext '" + pdf.toStdString() + "' '" + text + "'").c_str()), 0);
    const std::string printed = test::FileText(text);
    EXPECT_NE(printed.find("Input file name = /data/run1.dat"), std::string::npos) << printed;
    EXPECT_NE(printed.find("errorSum = 4.5E-02"), std::string::npos) << printed;
    const QString base = dir.filePath("page");
    const std::string command =
        "pdftoppm -r 40 -png -singlefile '" + pdf.toStdString() + "' '" + base.toStdString() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return QImage(base + ".png");
}

// The red picture's box on the page.
QRect RedBox(const QImage& page) {
    QRect red;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                red |= QRect(x, y, 1, 1);
        }
    return red;
}

TEST(PrintPlot, PdfPageFollowsThePicturesShape) {
    test::EnsureApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (QSize size : {QSize(600, 300), QSize(300, 600)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QImage page = PrintedPage(dir, picture);
        const bool landscape = size.width() > size.height();
        EXPECT_EQ(page.width() > page.height(), landscape);
        const QRect red = RedBox(page);
        ASSERT_TRUE(red.isValid());
        // The shape is kept, and the picture fills the page's width (landscape) or most of
        // its height (portrait, less the footer line). The footer's text is checked in the PDF.
        EXPECT_NEAR(double(red.width()) / red.height(), double(size.width()) / size.height(), 0.05);
        EXPECT_GT(landscape ? double(red.width()) / page.width()
                            : double(red.height()) / page.height(),
                  0.8);
    }
}

// A disk that fills up while the PDF is written: the print says so and the PDF that was there
// stays (Qt's own PDF output emptied it first and reported success).
TEST(PrintPlot, APdfThatCannotBeWrittenIsReportedAndKeepsTheOldOne) {
    test::EnsureApp();
    QTemporaryDir dir;
    const std::string pdf = dir.filePath("plot.pdf").toStdString();
    std::ofstream(pdf) << "old";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write ? ENOSPC : 0; });
    const bool printed = TryPrintPlot(printer, picture, "/data/run1.dat", " 4.5E-02");
    SetSaveFaultHook({});
    EXPECT_FALSE(printed);
    EXPECT_EQ(test::FileText(pdf), "old");
}

} // namespace
