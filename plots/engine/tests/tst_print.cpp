#include "EngineTestSupport.h"
#include "FileBytes.h"
#include "PlotExport.h"
#include "PrintPlot.h"

#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

TEST(PrintPlot, FitKeepsTheShapeAndLeavesRoomForTheFooter) {
    const std::tuple<int, int, double, double, double, PrintFit> cases[] = {
        {500, 400, 1000, 820, 20, {1000, 800}}, // ... with the footer kept free below
        {0, 400, 1000, 800, 0, {0, 0}},         // nothing to print
    };
    for (const auto& [w, h, pw, ph, footer, fit] : cases)
        EXPECT_EQ(FitPicture(w, h, pw, ph, footer), fit) << w << "x" << h;
}

std::string RunTool(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// The text of a PDF that holds no picture (`pdfimages -list` gives only its two heading lines).
std::string VectorPdfText(const std::string& pdf) {
    const std::string listing = RunTool("pdfimages -list '" + pdf + "'");
    EXPECT_EQ(std::ranges::count(listing, '\n'), 2) << listing;
    return RunTool("pdftotext '" + pdf + "' -");
}

// Prints the canvas to a PDF file and looks at the page as an image.
QImage PrintedPage(const QTemporaryDir& dir, const PlotCanvas& canvas) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath("plot.pdf");
    printer.setOutputFileName(pdf);
    EXPECT_TRUE(TryPrintPlot(printer, canvas.recording(), "/data/run1.dat", " 4.5E-02"));
    const std::string printed = VectorPdfText(pdf.toStdString());
    for (const char* text : {"Input file name = /data/run1.dat", "errorSum = 4.5E-02", "Curve"})
        EXPECT_NE(printed.find(text), std::string::npos) << printed;
    const QString base = dir.filePath("page");
    const std::string command =
        "pdftoppm -r 40 -png -singlefile '" + pdf.toStdString() + "' '" + base.toStdString() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return QImage(base + ".png");
}

TEST(PrintPlot, PdfPageFollowsThePlotsShapeInLinesAndTexts) {
    EnsureApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (QSize size : {QSize(600, 300), QSize(300, 600)}) {
        PlotCanvas canvas(size.width(), size.height());
        canvas.setBackColor(0x0000FF);
        canvas.Cls();
        canvas.Print("Curve");
        canvas.Line(0, 0, size.width(), size.height());
        const QImage page = PrintedPage(dir, canvas);
        const bool landscape = size.width() > size.height();
        EXPECT_EQ(page.width() > page.height(), landscape);
        const QRect red = InkBox(
            page, [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
        ASSERT_TRUE(red.isValid());
        // The shape is kept, and the plot fills the page's width (landscape) or most of
        // its height (portrait, less the footer line).
        EXPECT_NEAR(double(red.width()) / red.height(), double(size.width()) / size.height(), 0.05);
        EXPECT_GT(landscape ? double(red.width()) / page.width()
                            : double(red.height()) / page.height(),
                  0.8);
    }
}

// A disk that fills up while the PDF is written: the print says so and the PDF that was there
// stays (Qt's own PDF output emptied it first and reported success).
TEST(PrintPlot, APdfThatCannotBeWrittenIsReportedAndKeepsTheOldOne) {
    EnsureApp();
    QTemporaryDir dir;
    const std::string pdf = dir.filePath("plot.pdf").toStdString();
    std::ofstream(pdf) << "old";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    PlotCanvas canvas(300, 200);
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write ? ENOSPC : 0; });
    const bool printed = TryPrintPlot(printer, canvas.recording(), "/data/run1.dat", " 4.5E-02");
    SetSaveFaultHook({});
    EXPECT_FALSE(printed);
    EXPECT_EQ(FileText(pdf), "old");
}

// A real plot saved in each type: the pictures hold what the box shows, the vector files its
// lines and texts (title and axis titles found as text, no picture inside).
TEST(PlotExport, PicturesMatchTheBoxAndVectorFilesHoldTexts) {
    EngineRig rig("model3.dat", 1, 760, 540);
    QTemporaryDir dir;
    const PlotRecording& plot = rig.canvas.recording();
    const QImage shown = rig.canvas.image().convertToFormat(QImage::Format_RGB32);
    for (const auto& [type, format] :
         {std::pair{PlotFileType::Bitmap, "BMP"}, std::pair{PlotFileType::Png, "PNG"}}) {
        const QByteArray bytes = PlotFileBytes(plot, type).value_or(QByteArray());
        EXPECT_EQ(QImage::fromData(bytes, format).convertToFormat(QImage::Format_RGB32), shown);
    }

    const QByteArray svg = PlotFileBytes(plot, PlotFileType::Svg).value_or(QByteArray());
    EXPECT_FALSE(svg.contains("<image"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 760 540\""));
    const QByteArray pdf = PlotFileBytes(plot, PlotFileType::Pdf).value_or(QByteArray());
    const std::string path = dir.filePath("plot.pdf").toStdString();
    std::ofstream(path, std::ios::binary).write(pdf.constData(), pdf.size());
    const std::string text = VectorPdfText(path);
    for (const char* title : {"Error Amplitude", "Time", "Amplitude", "Sarlow (tm)"}) {
        EXPECT_TRUE(svg.contains(title)) << title;
        EXPECT_NE(text.find(title), std::string::npos) << title << "\n" << text;
    }
    EXPECT_NE(RunTool("pdfinfo '" + path + "'").find("570 x 405 pts"), std::string::npos);
}

} // namespace
