#include "ResultFile.h"

#include "CheckedStream.h"
#include "NumberText.h"
#include "Prompter.h"
#include "RecordReader.h"
#include "ShowFatal.h"
#include "Text.h"

#include <optional>
#include <utility>

namespace veltrana {

namespace {

constexpr const char* kCorruptedTitle = "Reading data file error at --> ";
constexpr const char* kCorruptedLines[] = {
    "Data file is corrupted; you must rerun problem to create a ",
    "new data file.  If this problem continues, Please notify",
    "us via e-mail and attach your input file for us to see the", "same results."};
constexpr const char* kNoData = "No data in file";

// Counts and flags are 16-bit integers, rounded half to even.
std::optional<int> Counted(double value) {
    const int rounded = RoundToInt(value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return rounded;
}

std::optional<int> Count(double value) {
    std::optional<int> counted = Counted(value);
    if (counted && *counted < 0)
        return std::nullopt;
    return counted;
}

const char* SectionName(ResultSection section) {
    switch (section) {
    case ResultSection::Sidelobe:
        return "Sidelobe";
    case ResultSection::Ripple:
        return "Ripple";
    case ResultSection::ImpulseResponse:
        return "h(t)";
    }
    return "";
}

struct SeriesRecord {
    const char* name;
    std::vector<double> ResultData::*values;
};

// Records of the series models 1 to 6, in file order.
const std::vector<SeriesRecord>& SeriesRecords(int model) {
    using R = ResultData;
    static const std::vector<SeriesRecord> records[] = {
        {{"A", &R::coefA}, {"PW50", &R::pw50}, {"t0", &R::t0}},
        {{"A", &R::coefA}, {"B", &R::coefB}, {"PW50", &R::pw50}, {"t0", &R::t0}},
        {{"A", &R::coefA}, {"B", &R::coefB}},
        {{"A", &R::coefA}},
        {{"A", &R::coefA}, {"B", &R::coefB}, {"C", &R::coefC}},
        {{"A", &R::coefA}, {"B", &R::coefB}, {"C", &R::coefC}, {"D", &R::coefD}},
    };
    return records[model - 1];
}

} // namespace

ResultFile::ResultFile(Prompter& prompter) : m_prompter(prompter) {}

ResultFile::~ResultFile() = default;

void ResultFile::Close() {
    m_reader.reset();
}

ReadStatus ResultFile::ReadResultFile(const std::string& path) {
    Close();
    std::unique_ptr<std::istream> stream = OpenCheckedStream(path, m_openError);
    if (!stream)
        return ReadStatus::NoFile;
    return ReadResultStream(std::move(stream), path);
}

ReadStatus ResultFile::ReadResultStream(std::unique_ptr<std::istream> stream,
                                        const std::string& path) {
    Close();
    m_path = path;
    m_reader = std::make_unique<RecordReader>(std::move(stream));
    ReadStatus status = ReadBody();
    if (status != ReadStatus::Ok)
        Close();
    return status;
}

ReadStatus ResultFile::Corrupted(std::string_view record) {
    std::string text = m_path;
    for (const char* line : kCorruptedLines)
        text.append("\r\n").append(line);
    m_prompter.message({text, kCorruptedTitle + std::string(record) + ".", PromptIcon::Exclamation,
                        PromptButtons::Ok});
    Close();
    return ReadStatus::Corrupted;
}

ReadStatus ResultFile::ReadBody() {
    std::optional<std::string> title = m_reader->ReadTextLine();
    std::optional<std::string> second = title ? m_reader->ReadTextLine() : std::nullopt;
    std::optional<std::string> third = second ? m_reader->ReadTextLine() : std::nullopt;
    std::vector<double> first;
    if (!third || !m_reader->ReadRecord(first, 3))
        return Corrupted("modelX");
    const std::optional<int> model = Counted(first[0]);
    const std::optional<int> terms = Count(first[1]);
    const std::optional<int> points = Count(first[2]);
    if (!model || !terms || !points)
        return Corrupted("modelX");

    // Only now that the file is known to be of some model is anything of it kept.
    ResultData& d = m_data;
    d.titleLine = std::move(*title);
    d.secondLine = std::move(*second);
    d.thirdLine = std::move(*third);
    d.modelX = *model;
    d.nTerms = *terms;
    d.nPoints = *points;
    // Models without a data-file line must not show the name an earlier file left behind.
    if (d.modelX < 1 || d.modelX > 6)
        d.dataFileName.clear();

    if (const char* failed = ReadModelBlock())
        return Corrupted(failed);
    if (d.modelX == -2 || d.modelX == -1)
        SortPolePairs();

    const int rows = ReadTableRows(d.nPoints, d.pointX, &d.pointY1, d.pointY2);
    d.nPoints = rows;
    // The record that declared the table is the nearest one to name.
    if (m_reader->overLong())
        return Corrupted("modelX");
    if (rows == 0) {
        ShowFatal(m_prompter, kNoData);
        return ReadStatus::NoData;
    }
    return ReadStatus::Ok;
}

const char* ResultFile::ReadModelBlock() {
    ResultData& d = m_data;
    switch (d.modelX) {
    case -2:
    case -1:
        return ReadPoleZeroBlock();
    case 0: {
        std::optional<std::string> equation = m_reader->ReadTextLine();
        if (!equation)
            return "A";
        d.equationText = TrimBlanks(std::string_view(*equation).substr(0, equation->find('!')));
        d.coefA.assign(static_cast<size_t>(d.nTerms), 0.0);
        return m_reader->ReadRecord(d.coefA, d.nTerms) ? nullptr : "A";
    }
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return ReadSeriesBlock(true);
    case 110:
        return ReadSeriesBlock(false);
    default:
        return nullptr;
    }
}

const char* ResultFile::ReadSeriesBlock(bool withDataFile) {
    ResultData& d = m_data;
    const char* firstRecord = withDataFile ? "A" : "A1ksum";
    if (withDataFile) {
        std::optional<std::string> dataFile = m_reader->ReadTextLine();
        if (!dataFile)
            return firstRecord;
        d.dataFileName = std::move(*dataFile);
    }
    std::optional<std::string> y0 = m_reader->ReadTextLine();
    if (!y0)
        return firstRecord;
    d.y0Text = std::move(*y0);

    if (!withDataFile) {
        std::vector<double> values;
        if (!m_reader->ReadRecord(values, 4))
            return "A1ksum";
        for (size_t i = 0; i < d.kSums.size(); ++i)
            d.kSums[i] = GeneralNumber(values[i]);
        if (!m_reader->ReadRecord(values, 3))
            return "a1";
        d.doseA1 = values[0];
        d.doseA2 = values[1];
        d.dt50 = values[2];
        return nullptr;
    }

    for (const SeriesRecord& record : SeriesRecords(d.modelX)) {
        std::vector<double>& values = d.*record.values;
        values.assign(static_cast<size_t>(d.nTerms), 0.0);
        if (!m_reader->ReadRecord(values, d.nTerms))
            return record.name;
    }
    return nullptr;
}

const char* ResultFile::ReadPoleZeroBlock() {
    ResultData& d = m_data;
    std::vector<double> v;

    if (!m_reader->ReadRecord(v, 4))
        return "VltDely";
    const std::optional<int> delayMatched = Counted(v[0]);
    if (!delayMatched || !Counted(v[1]) || !Counted(v[2]))
        return "VltDely";
    d.delayMatched = *delayMatched;

    if (!m_reader->ReadRecord(v, 2))
        return "nXpole";
    const std::optional<int> sigmaPoles = Count(v[0]);
    const std::optional<int> polePairs = Count(v[1]);
    if (!sigmaPoles || !polePairs)
        return "nXpole";
    d.nSigmaPoles = *sigmaPoles;
    d.nPolePairs = *polePairs;
    if (d.nSigmaPoles > 0) {
        std::optional<double> pole = m_reader->ReadNumberLine();
        if (!pole)
            return "nXpole";
        d.sigmaPole = *pole;
    }

    const size_t pairs = static_cast<size_t>(d.nPolePairs);
    d.pairReal.assign(pairs, 0.0);
    if (!m_reader->ReadRecord(d.pairReal, d.nPolePairs))
        return "pReal";
    d.pairImag.assign(pairs, 0.0);
    if (!m_reader->ReadRecord(d.pairImag, d.nPolePairs))
        return "pImag";

    const std::optional<double> sigmaZeroLine = m_reader->ReadNumberLine();
    const std::optional<int> sigmaZeros = sigmaZeroLine ? Count(*sigmaZeroLine) : std::nullopt;
    if (!sigmaZeros)
        return "xZero";
    d.nSigmaZeros = *sigmaZeros;
    if (d.nSigmaZeros >= 1) {
        if (!m_reader->ReadRecord(v, 3))
            return "xZero";
        const std::optional<int> doublet = Counted(v[1]);
        const std::optional<int> paired = Counted(v[2]);
        if (!doublet || !paired)
            return "xZero";
        d.sigmaZeroLoc = v[0];
        d.zeroDoublet = *doublet;
        d.zeroPaired = *paired;
    }

    if (!m_reader->ReadRecord(v, 3))
        return "nYzeros";
    const std::optional<int> omegaZeros = Count(v[0]);
    const std::optional<int> zeroPairs = Count(v[1]);
    const std::optional<int> zeroQuads = Count(v[2]);
    if (!omegaZeros || !zeroPairs || !zeroQuads)
        return "nYzeros";
    d.nOmegaZeros = *omegaZeros;
    d.nZeroPairs = *zeroPairs;
    d.nZeroQuads = *zeroQuads;
    const char* lastRecord = "nYzeros";

    d.omegaZeros.assign(static_cast<size_t>(d.nOmegaZeros), 0.0);
    if (d.nOmegaZeros > 0) {
        if (!m_reader->ReadRecord(d.omegaZeros, d.nOmegaZeros))
            return "yZeros";
        lastRecord = "yZeros";
    }
    const int complexZeros = d.nZeroPairs + d.nZeroQuads;
    d.zeroReal.assign(static_cast<size_t>(complexZeros), 0.0);
    d.zeroImag.assign(static_cast<size_t>(complexZeros), 0.0);
    if (complexZeros >= 1) {
        if (!m_reader->ReadRecord(d.zeroReal, complexZeros))
            return "zReal";
        if (!m_reader->ReadRecord(d.zeroImag, complexZeros))
            return "zImag";
        lastRecord = "zImag";
    }

    std::optional<std::string> gain = m_reader->ReadTextLine();
    if (!gain)
        return lastRecord;
    d.gainText = std::move(*gain);

    // Its failure is no fault of the file: older optimisers wrote anything here.
    d.fitRecord.clear();
    (void)m_reader->ReadRecord(d.fitRecord, 2);
    return nullptr;
}

// Only a complete model block is sorted: a file that fails inside it keeps its pairs in file
// order. An exchange sort, kept as is: it fixes the order of pairs with equal imaginary parts
// that the plots and summaries have always shown.
void ResultFile::SortPolePairs() {
    ResultData& d = m_data;
    const size_t pairs = static_cast<size_t>(d.nPolePairs);
    for (size_t i = 0; i < pairs; ++i) {
        for (size_t j = i + 1; j < pairs; ++j) {
            if (d.pairImag[i] > d.pairImag[j]) {
                std::swap(d.pairImag[i], d.pairImag[j]);
                std::swap(d.pairReal[i], d.pairReal[j]);
            }
        }
    }
}

int ResultFile::ReadTableRows(int declared, std::vector<double>& x, std::vector<double>* y1,
                              std::vector<double>& y2) {
    const size_t size = static_cast<size_t>(declared);
    x.assign(size, 0.0);
    y2.assign(size, 0.0);
    if (y1)
        y1->assign(size, 0.0);
    const int columns = y1 ? 3 : 2;
    std::vector<double> row;
    size_t rows = 0;
    for (; rows < size; ++rows) {
        const std::uint64_t rowStart = m_reader->position();
        if (!m_reader->ReadRecord(row, columns)) {
            // Give the lines back: what follows a short table is the next section.
            m_reader->Rewind(rowStart);
            break;
        }
        x[rows] = row[0];
        if (y1) {
            (*y1)[rows] = row[1];
            y2[rows] = row[2];
        } else {
            y2[rows] = row[1];
        }
    }
    x.resize(rows);
    y2.resize(rows);
    if (y1)
        y1->resize(rows);
    return static_cast<int>(rows);
}

ReadStatus ResultFile::ReadSection(ResultSection section) {
    if (!m_reader)
        return ReadStatus::NoFile;
    const char* name = SectionName(section);
    std::optional<std::string> title = m_reader->ReadTextLine();
    if (!title)
        return Corrupted(name);
    const std::optional<double> countLine = m_reader->ReadNumberLine();
    const std::optional<int> count = countLine ? Count(*countLine) : std::nullopt;
    if (!count)
        return Corrupted(name);
    m_data.sectionTitle = std::move(*title);
    m_data.nPoints = ReadTableRows(*count, m_data.pointX, nullptr, m_data.pointY2);
    // A section cut short is damage, not a shorter curve: nothing is drawn from a part of it.
    if (m_reader->overLong() || m_data.nPoints < *count)
        return Corrupted(name);
    return m_data.nPoints == 0 ? ReadStatus::NoData : ReadStatus::Ok;
}

} // namespace veltrana
