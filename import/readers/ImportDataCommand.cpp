#include "ImportDataCommand.h"

#include "ConsolePrompter.h"
#include "ImportedTables.h"
#include "MeasuredFile.h"
#include "MeasuredResponse.h"
#include "NumberText.h"
#include "ProblemCheck.h"
#include "ShellState.h"
#include "Text.h"

#include <charconv>
#include <filesystem>
#include <map>

namespace veltrana {

namespace {

constexpr const char* kProgram = "import-data";

struct Arguments {
    std::map<std::string, std::string> values; // options with a value, by name
    bool delay = false;
    bool decibels = false;
    bool help = false;
    std::vector<std::string> files;
};

bool TakesValue(const std::string& option) {
    return option == "--param" || option == "--from" || option == "--to" ||
           option == "--max-points" || option == "--columns" || option == "--unit";
}

bool Parse(const std::vector<std::string>& args, Arguments& parsed, std::string& error) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.size() < 2 || !arg.starts_with("-")) {
            parsed.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else if (arg == "--delay") {
            parsed.delay = true;
        } else if (arg == "--db") {
            parsed.decibels = true;
        } else {
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (!TakesValue(name)) {
                error = "unknown option '" + arg + "'";
                return false;
            }
            if (equals != std::string::npos) {
                parsed.values[name] = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                parsed.values[name] = args[++i];
            } else {
                error = name + " needs a value";
                return false;
            }
        }
    }
    return true;
}

bool ParseColumns(const std::string& text, TableColumns& columns, std::string& error) {
    columns = {-1, -1, -1, -1};
    const std::vector<std::string> names = SplitAt(text, ',');
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = TrimBlanks(names[i]);
        int* slot = name == "freq"     ? &columns.freq
                    : name == "yout"   ? &columns.yout
                    : name == "yin"    ? &columns.yin
                    : name == "weight" ? &columns.weight
                                       : nullptr;
        if (name == "-")
            continue;
        if (!slot) {
            error = "--columns: '" + name + "' is not freq, yout, yin, weight or -";
            return false;
        }
        if (*slot >= 0) {
            error = "--columns names '" + name + "' twice";
            return false;
        }
        *slot = static_cast<int>(i);
    }
    if (columns.freq < 0 || columns.yout < 0) {
        error = "--columns must name freq and yout";
        return false;
    }
    return true;
}

bool ParseUnit(const std::string& text, FrequencyUnit& unit) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::map<std::string, FrequencyUnit> units = {{"hz", FrequencyUnit::Hz},
                                                        {"khz", FrequencyUnit::kHz},
                                                        {"mhz", FrequencyUnit::MHz},
                                                        {"ghz", FrequencyUnit::GHz}};
    const auto found = units.find(lower);
    if (found == units.end())
        return false;
    unit = found->second;
    return true;
}

// The choices the options make, checked against the kind of file DATA is.
bool Choices(const Arguments& a, const MeasuredFile& file, ImportChoices& choices, bool& maxGiven,
             std::string& error) {
    const bool touchstone = file.kind == MeasuredFile::Kind::Touchstone;
    auto given = [&](const char* name) { return a.values.count(name) > 0; };
    if (touchstone && (given("--columns") || given("--unit") || a.decibels)) {
        error = "--columns, --unit and --db are for text tables; DATA is a Touchstone file";
        return false;
    }
    if (!touchstone && (given("--param") || a.delay)) {
        error = "--param and --delay are for Touchstone files; DATA is read as a text table "
                "(a Touchstone file is named .sNp)";
        return false;
    }
    choices.delay = a.delay;
    choices.decibels = a.decibels;
    if (given("--param"))
        choices.parameter = a.values.at("--param");
    if (given("--columns") && !ParseColumns(a.values.at("--columns"), choices.columns, error))
        return false;
    if (given("--unit") && !ParseUnit(a.values.at("--unit"), choices.unit)) {
        error = "--unit: '" + a.values.at("--unit") + "' is not Hz, kHz, MHz or GHz";
        return false;
    }
    for (auto [name, bound] :
         {std::pair{"--from", &choices.range.fromMHz}, std::pair{"--to", &choices.range.toMHz}}) {
        if (!given(name))
            continue;
        *bound = ParseNumber(a.values.at(name));
        if (!*bound) {
            error = std::string(name) + ": '" + a.values.at(name) + "' is not a number of MHz";
            return false;
        }
    }
    if (choices.range.fromMHz && choices.range.toMHz &&
        *choices.range.fromMHz > *choices.range.toMHz) {
        error = "--from is above --to";
        return false;
    }
    choices.range.maxPoints = kMaxTablePoints;
    maxGiven = given("--max-points");
    if (maxGiven) {
        const std::string& text = a.values.at("--max-points");
        int n = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (ec != std::errc() || end != text.data() + text.size() || n < 2 || n > kMaxTablePoints) {
            error = "--max-points: '" + text + "' is not a whole number from 2 to " +
                    std::to_string(kMaxTablePoints) + " (the optimiser takes at most " +
                    std::to_string(kMaxTablePoints) + " points)";
            return false;
        }
        choices.range.maxPoints = n;
    }
    return true;
}

// The template must be a whole input file: one that ended early reads "-EOF-" for what it
// lacks, and writing that out would not give a problem the optimiser can take.
bool WholeInputFile(const DesignProblem& p) {
    for (int slot = 0; slot < 22; ++slot)
        if (p.Answers[static_cast<std::size_t>(slot)] == "-EOF-")
            return false;
    return p.Note1 != "-EOF-" && p.Note2 != "-EOF-";
}

} // namespace

std::string ImportDataUsage() {
    return "usage: import-data [--param S21] [--from MHZ] [--to MHZ] [--max-points N] [--delay]\n"
           "                   [--columns freq,yout[,yin][,weight]] [--unit Hz|kHz|MHz|GHz]\n"
           "                   [--db] DATA TEMPLATE OUT\n"
           "\n"
           "Makes the input file OUT from the input file TEMPLATE, its pass-band table replaced\n"
           "by the measured data in DATA: a Touchstone file (.s1p, .s2p, ... .sNp, or .ts) or a\n"
           "text table (CSV, TSV or blank-separated, with or without a header line).\n"
           "\n"
           "  --param S21       the parameter of a Touchstone file (S21, or S11 for one port)\n"
           "  --delay           also replace the delay table by the group delay of that\n"
           "                    parameter (from its phase, in ns) and turn question 1 on\n"
           "  --columns LIST    the table's columns in order: freq and yout, and yin and weight\n"
           "                    when present; '-' skips a column (default freq,yout)\n"
           "  --unit UNIT       the table's frequency unit (default MHz)\n"
           "  --db              the table's Yout and Yin are in dB (20 log10 of the magnitude)\n"
           "  --from, --to MHZ  take only the points from, to these frequencies\n"
           "  --max-points N    at most N points, thinned evenly keeping both ends (default\n"
           "                    and largest 5000)\n"
           "\n"
           "Yout is the measured magnitude, Yin is 1 unless a column gives it, frequencies are\n"
           "in MHz; points at 0 Hz are left out. A weight column turns question 3 on. Exit\n"
           "status 0 when OUT was written; otherwise 1, a message and no OUT.\n";
}

int RunImportData(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const Clock& clock) {
    Arguments a;
    std::string problem;
    if (!Parse(args, a, problem)) {
        err << kProgram << ": " << problem << "\n" << ImportDataUsage();
        return 1;
    }
    if (a.help) {
        out << ImportDataUsage();
        return 0;
    }
    if (a.files.size() != 3) {
        err << kProgram << ": DATA, TEMPLATE and OUT are needed\n" << ImportDataUsage();
        return 1;
    }
    const std::string& dataPath = a.files[0];
    const std::string& templatePath = a.files[1];
    const std::string& outPath = a.files[2];

    MeasuredFile file;
    ImportError error;
    if (!LoadMeasuredFile(dataPath, file, error)) {
        err << kProgram << ": " << dataPath << ": " << error.text() << "\n";
        return 1;
    }
    ImportChoices choices;
    bool maxGiven = false;
    if (!Choices(a, file, choices, maxGiven, problem)) {
        err << kProgram << ": " << problem << "\n";
        return 1;
    }
    ImportedTables tables;
    if (!ImportTablesOf(file, choices, tables, error)) {
        err << kProgram << ": " << dataPath << ": " << error.text() << "\n";
        return 1;
    }

    // Messages of the input-file routines, as lines on the error stream.
    ConsolePrompter prompter([&err](const Prompt& prompt) {
        std::string text = ReplaceAll(prompt.text, "\r\n", "\n");
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        err << kProgram << ": " << prompt.title << "\n" << text << "\n";
    });
    DesignProblem design;
    const std::filesystem::path templateFile(templatePath);
    FileError ioError;
    const ReadOutcome read =
        FileReadMe(templateFile.filename().string(),
                   templateFile.has_parent_path() ? templateFile.parent_path().string() : ".",
                   design, prompter, &ioError);
    if (read == ReadOutcome::Unreadable)
        err << kProgram << ": " << templatePath << ": " << ioError.description << "\n";
    if (read == ReadOutcome::Read && !WholeInputFile(design))
        err << kProgram << ": " << templatePath << ": the file ends before its notes: it is "
            << "not a whole input file\n";
    if (read != ReadOutcome::Read || !WholeInputFile(design))
        return 1;

    ApplyImport(design, tables);
    const std::filesystem::path outFile(outPath);
    ShellState state;
    const std::optional<FileError> failure = WriteAnsFile(
        design, outFile.filename().string(),
        outFile.has_parent_path() ? outFile.parent_path().string() : ".", state, prompter, clock);
    if (failure)
        err << kProgram << ": " << outPath << ": " << failure->description << "\n";
    if (failure || state.writeFailed)
        return 1;

    out << kProgram << ": " << tables.pass.size() << " pass-band points";
    if (tables.withDelay)
        out << " and " << tables.delay.size() << " delay points";
    out << " (" << tables.what << ") from " << dataPath << " into " << outPath;
    if (tables.thinnedFrom > tables.pass.size())
        out << ", thinned evenly from " << tables.thinnedFrom
            << (maxGiven ? "" : " to the optimiser's largest number");
    out << "\n";
    return 0;
}

} // namespace veltrana
