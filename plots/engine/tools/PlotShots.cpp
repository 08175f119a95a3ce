// Draws every plot of a result file offscreen and saves each as a PNG, so that the plots can
// be looked at side by side:
//   plot_shots <result file> <output folder> <name> [width height] [bw]
#include "PlotEngine.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace veltrana;

namespace {

struct ShotHost : PlotHost {
    PlotSettings settings;
    std::string output;
    bool nextEnabled = true;
    bool fatal = false;

    PlotSettings plotSettings() const override { return settings; }
    void appendOutput(std::string_view text) override { output += text; }
    void showPlotPage() override {}
    void setNextEnabled(bool enabled) override { nextEnabled = enabled; }
    void plotDrawn() override {}
    void ShowFatal(std::string_view text) override {
        std::fprintf(stderr, "Must exit! %.*s\n", static_cast<int>(text.size()), text.data());
        fatal = true;
    }
    void plotRefused(std::string_view reason) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(reason.size()), reason.data());
    }
    void fileDamaged() override { fatal = true; }
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <result file> <output folder> <name> [width height] [bw]\n",
                     argv[0]);
        return 2;
    }
    const std::string path = argv[1], folder = argv[2], name = argv[3];
    const int width = argc > 5 ? std::atoi(argv[4]) : 760;
    const int height = argc > 5 ? std::atoi(argv[5]) : 540;
    const bool bw = argc > 6 && std::string(argv[6]) == "bw";

    ScriptedPrompter prompter;
    ResultFile file(prompter);
    ShotHost host;
    // The colours a first start of the plot window sets.
    host.settings.colours = {0x606060, 0x5800B0, 0x000080, 0xFF0000, 0x008000, 0xE8E8E8};
    host.settings.blackAndWhite = bw;
    PlotCanvas canvas(width, height);
    canvas.setBackColor(bw ? 0xFFFFFF : host.settings.colours[PlotSettings::Background]);
    PlotEngine engine(canvas, file, host);

    if (file.ReadResultFile(path) != ReadStatus::Ok) {
        for (const Prompt& p : prompter.prompts)
            std::fprintf(stderr, "%s: %s\n", p.title.c_str(), p.text.c_str());
        return 1;
    }
    for (int plot = 1; plot <= 8 && host.nextEnabled && !host.fatal; ++plot) {
        engine.PlotNext();
        if (host.fatal)
            break;
        const std::string png = folder + "/" + name + "-" + std::to_string(plot) + ".png";
        if (!canvas.image().save(QString::fromStdString(png)))
            std::fprintf(stderr, "cannot write %s\n", png.c_str());
        std::printf("%s\n", png.c_str());
    }
    std::ofstream(folder + "/" + name + "-output.txt", std::ios::binary) << host.output;
    return host.fatal ? 1 : 0;
}
