#include "Touchstone.h"

#include "LineReader.h"
#include "NumberText.h"
#include "Text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

namespace veltrana {

namespace {

enum class ValueFormat { RealImag, MagnitudeAngle, DecibelAngle };
enum class MatrixFormat { Full, Lower, Upper };
// Where the lines of a version 2.0 file stand.
enum class Section { Header, Reference, Information, NetworkData, NoiseData, Ended };

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos)
            return tokens;
        const std::size_t end = line.find_first_of(" \t", pos);
        tokens.push_back(line.substr(pos, end == std::string_view::npos ? end : end - pos));
        if (end == std::string_view::npos)
            return tokens;
        pos = end;
    }
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string Quoted(std::string_view text) {
    return "'" + Shortened(text, 40) + "'";
}

class Parser {
public:
    Parser(int ports, TouchstoneData& data, ImportError& error) : m_data(data), m_error(error) {
        m_data = TouchstoneData{};
        m_data.ports = ports;
    }

    bool run(std::string_view text);

private:
    bool fail(int line, std::string what) {
        m_error = {line, std::move(what)};
        return false;
    }
    bool optionLine(std::string_view line, int n);
    bool keyword(std::string_view line, int n);
    bool startNetworkData(int n);
    bool values(std::string_view line, int n);
    bool finishPoint(int n);
    std::size_t pairsPerPoint() const {
        const auto ports = static_cast<std::size_t>(m_data.ports);
        return m_matrix == MatrixFormat::Full ? ports * ports : ports * (ports + 1) / 2;
    }

    TouchstoneData& m_data;
    ImportError& m_error;
    double m_unit = 1e9; // GHz unless the option line says otherwise
    ValueFormat m_format = ValueFormat::MagnitudeAngle;
    MatrixFormat m_matrix = MatrixFormat::Full;
    bool m_twoPortOrder21 = true; // version 1 always, version 2.0 as [Two-Port Data Order] says
    bool m_twoPortOrderGiven = false;
    bool m_optionSeen = false;
    bool m_noise = false; // version 1 two-port: noise parameters follow
    Section m_section = Section::Header;
    int m_declaredPoints = -1;
    int m_pointLine = 0;
    std::vector<double> m_pending; // the point being read: frequency, then value pairs
};

bool Parser::run(std::string_view text) {
    LineReader lines(text);
    std::string_view raw;
    bool first = true;
    int lastLine = 0;
    while (lines.next(raw)) {
        const int n = lines.number();
        const std::string_view line = TrimSpace(raw.substr(0, raw.find('!')));
        if (line.empty())
            continue;
        lastLine = n;
        if (first) {
            first = false;
            if (Upper(line).starts_with("[VERSION]"))
                m_data.version = 2;
        }
        if (m_data.version == 2 && m_section == Section::Information) {
            if (line.front() == '[' && !keyword(line, n))
                return false;
            continue;
        }
        if (line.front() == '#') {
            // Only the first option line counts; a version 1 file may repeat it.
            if (!m_optionSeen && !optionLine(line.substr(1), n))
                return false;
            m_optionSeen = true;
            continue;
        }
        if (line.front() == '[') {
            if (m_data.version != 2)
                return fail(n, "the keyword " + Quoted(line) +
                                   " belongs to version 2.0 files, and this file does not "
                                   "begin with [Version] 2.0.");
            if (!keyword(line, n))
                return false;
            if (m_section == Section::Ended)
                break;
            continue;
        }
        if (m_data.version == 2) {
            if (m_section == Section::Reference || m_section == Section::NoiseData)
                continue;
            if (m_section != Section::NetworkData)
                return fail(n, "values before the [Network Data] keyword.");
        } else if (m_data.ports <= 0) {
            return fail(0, "The file's name does not say how many ports it describes: name it "
                           ".s1p, .s2p, ... .sNp.");
        }
        if (m_noise)
            continue;
        if (!values(line, n))
            return false;
    }
    if (!m_pending.empty())
        return fail(lastLine, "the last point holds " + std::to_string(m_pending.size()) +
                                  " of the " + std::to_string(1 + 2 * pairsPerPoint()) +
                                  " numbers a point of a " + std::to_string(m_data.ports) +
                                  "-port file holds.");
    if (m_data.version == 2 && m_section != Section::NetworkData &&
        m_section != Section::NoiseData && m_section != Section::Ended)
        return fail(0, "The file has no [Network Data] keyword.");
    if (m_data.freqHz.empty())
        return fail(0, "The file holds no network data.");
    if (m_declaredPoints >= 0 && m_declaredPoints != static_cast<int>(m_data.freqHz.size()))
        return fail(0, "The file holds " + std::to_string(m_data.freqHz.size()) +
                           " frequencies, but [Number of Frequencies] says " +
                           std::to_string(m_declaredPoints) + ".");
    return true;
}

bool Parser::optionLine(std::string_view line, int n) {
    const std::vector<std::string_view> tokens = Tokens(line);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string t = Upper(tokens[i]);
        if (t == "HZ" || t == "KHZ" || t == "MHZ" || t == "GHZ") {
            m_unit = t == "HZ" ? 1 : t == "KHZ" ? 1e3 : t == "MHZ" ? 1e6 : 1e9;
        } else if (t == "S" || t == "Y" || t == "Z" || t == "H" || t == "G") {
            m_data.parameter = t.front();
        } else if (t == "RI" || t == "MA" || t == "DB") {
            m_format = t == "RI"   ? ValueFormat::RealImag
                       : t == "MA" ? ValueFormat::MagnitudeAngle
                                   : ValueFormat::DecibelAngle;
        } else if (t == "R" && i + 1 < tokens.size()) {
            const std::optional<double> ohms = ParseNumber(tokens[++i]);
            if (!ohms || !(*ohms > 0))
                return fail(n, "the reference resistance " + Quoted(tokens[i]) +
                                   " in the option line is not a positive number.");
            m_data.referenceOhms = *ohms;
        } else {
            return fail(n, Quoted(tokens[i]) +
                               " in the option line is no unit (Hz, kHz, MHz, GHz), parameter "
                               "(S, Y, Z, H, G), format (RI, MA, DB) or R with a resistance.");
        }
    }
    return true;
}

bool Parser::keyword(std::string_view line, int n) {
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return fail(n, "the keyword " + Quoted(line) + " lacks its closing ']'.");
    std::string name;
    for (char c : Upper(line.substr(1, close - 1)))
        if (c != ' ' || (!name.empty() && name.back() != ' '))
            name += c;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    const std::string_view argument = TrimSpace(line.substr(close + 1));
    const std::string upperArgument = Upper(argument);

    if (m_section == Section::Information) {
        if (name == "END INFORMATION")
            m_section = Section::Header;
        return true;
    }
    if (m_section == Section::Reference) // its values may go on over several lines
        m_section = Section::Header;
    if (name == "VERSION") {
        if (!upperArgument.starts_with("2."))
            return fail(n, "version " + Quoted(argument) + " is not a Touchstone version 2.");
        return true;
    }
    if (name == "NUMBER OF PORTS") {
        const std::optional<int> ports = WholeNumber(argument);
        if (!ports || *ports < 1 || *ports > kMaxTouchstonePorts)
            return fail(n, "[Number of Ports] " + Quoted(argument) +
                               " is not a number of ports "
                               "from 1 to " +
                               std::to_string(kMaxTouchstonePorts) + ".");
        m_data.ports = *ports;
        return true;
    }
    if (name == "TWO-PORT DATA ORDER") {
        if (upperArgument != "12_21" && upperArgument != "21_12")
            return fail(n, "[Two-Port Data Order] is " + Quoted(argument) +
                               "; it must be 12_21 or 21_12.");
        m_twoPortOrder21 = upperArgument == "21_12";
        m_twoPortOrderGiven = true;
        return true;
    }
    if (name == "NUMBER OF FREQUENCIES") {
        const std::optional<int> count = WholeNumber(argument);
        if (!count || *count < 1)
            return fail(n, "[Number of Frequencies] " + Quoted(argument) +
                               " is not a positive whole number.");
        m_declaredPoints = *count;
        return true;
    }
    if (name == "MATRIX FORMAT") {
        if (upperArgument == "FULL")
            m_matrix = MatrixFormat::Full;
        else if (upperArgument == "LOWER")
            m_matrix = MatrixFormat::Lower;
        else if (upperArgument == "UPPER")
            m_matrix = MatrixFormat::Upper;
        else
            return fail(n, "[Matrix Format] is " + Quoted(argument) +
                               "; it must be Full, Lower or Upper.");
        return true;
    }
    if (name == "REFERENCE") {
        m_section = Section::Reference;
        return true;
    }
    if (name == "NUMBER OF NOISE FREQUENCIES")
        return true;
    if (name == "BEGIN INFORMATION") {
        m_section = Section::Information;
        return true;
    }
    if (name == "MIXED-MODE ORDER")
        return fail(n, "mixed-mode data are not taken in: export single-ended parameters.");
    if (name == "NETWORK DATA")
        return startNetworkData(n);
    if (name == "NOISE DATA") {
        if (!m_pending.empty())
            return fail(m_pointLine, "the point begun here is not complete.");
        m_section = Section::NoiseData;
        return true;
    }
    if (name == "END") {
        if (!m_pending.empty())
            return fail(m_pointLine, "the point begun here is not complete.");
        m_section = Section::Ended;
        return true;
    }
    return fail(n, Quoted(line.substr(0, close + 1)) + " is not a Touchstone keyword.");
}

bool Parser::startNetworkData(int n) {
    if (m_data.ports <= 0)
        return fail(n, "[Network Data] comes before [Number of Ports].");
    if (m_data.ports == 2 && !m_twoPortOrderGiven)
        return fail(n, "a two-port file needs [Two-Port Data Order] before [Network Data].");
    if (m_declaredPoints < 0)
        return fail(n, "[Network Data] comes before [Number of Frequencies].");
    m_section = Section::NetworkData;
    return true;
}

bool Parser::values(std::string_view line, int n) {
    const std::vector<std::string_view> tokens = Tokens(line);
    const std::size_t needed = 1 + 2 * pairsPerPoint();
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::optional<double> value = ParseNumber(tokens[i]);
        if (!value)
            return fail(n, Quoted(tokens[i]) + " is not a number.");
        if (m_pending.empty()) {
            const double hz = *value * m_unit;
            if (*value < 0 || !std::isfinite(hz))
                return fail(n, "the frequency " + Quoted(tokens[i]) +
                                   " is not a frequency of 0 or more.");
            if (!m_data.freqHz.empty() && hz <= m_data.freqHz.back()) {
                // A version 1 two-port file carries its noise parameters after the network
                // data; they begin where the frequency falls back.
                if (m_data.version == 1 && m_data.ports == 2 && i == 0) {
                    m_noise = true;
                    return true;
                }
                return fail(n, "the frequency " + Quoted(tokens[i]) +
                                   " is not above the one before it.");
            }
            m_pointLine = n;
        }
        m_pending.push_back(*value);
        if (m_pending.size() == needed) {
            if (!finishPoint(n))
                return false;
            if (i + 1 < tokens.size())
                return fail(n, "more numbers than a point of a " + std::to_string(m_data.ports) +
                                   "-port file holds (a frequency and " +
                                   std::to_string(needed - 1) + " numbers).");
        }
    }
    return true;
}

bool Parser::finishPoint(int n) {
    const int ports = m_data.ports;
    const std::size_t base = m_data.values.size();
    m_data.values.resize(base + static_cast<std::size_t>(ports * ports));
    auto put = [&](int row, int column, std::complex<double> v) {
        m_data.values[base + static_cast<std::size_t>(row * ports + column)] = v;
    };
    std::size_t at = 1;
    auto nextValue = [&]() {
        const double a = m_pending[at], b = m_pending[at + 1];
        at += 2;
        const double angle = b * std::numbers::pi / 180;
        switch (m_format) {
        case ValueFormat::RealImag:
            return std::complex<double>(a, b);
        case ValueFormat::MagnitudeAngle:
            return std::polar(a, angle);
        case ValueFormat::DecibelAngle:
            return std::polar(std::pow(10.0, a / 20), angle);
        }
        return std::complex<double>();
    };
    if (ports == 2 && m_twoPortOrder21 && m_matrix == MatrixFormat::Full) {
        for (auto [row, column] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
            put(row, column, nextValue());
    } else {
        for (int row = 0; row < ports; ++row) {
            const int from = m_matrix == MatrixFormat::Upper ? row : 0;
            const int to = m_matrix == MatrixFormat::Lower ? row : ports - 1;
            for (int column = from; column <= to; ++column) {
                const std::complex<double> v = nextValue();
                put(row, column, v);
                if (m_matrix != MatrixFormat::Full)
                    put(column, row, v);
            }
        }
    }
    for (std::size_t i = base; i < m_data.values.size(); ++i)
        if (!std::isfinite(m_data.values[i].real()) || !std::isfinite(m_data.values[i].imag()))
            return fail(m_pointLine == n ? n : m_pointLine,
                        "a value of this point is too large to be taken in.");
    m_data.freqHz.push_back(m_pending.front() * m_unit);
    m_pending.clear();
    return true;
}

} // namespace

int TouchstonePortsOfName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return -1;
    const std::string extension = Upper(fileName.substr(dot + 1));
    if (extension == "TS")
        return 0;
    if (extension.size() < 3 || extension.front() != 'S' || extension.back() != 'P')
        return -1;
    const std::optional<int> ports =
        WholeNumber(std::string_view(extension).substr(1, extension.size() - 2));
    return ports && *ports >= 1 && *ports <= kMaxTouchstonePorts ? *ports : -1;
}

bool ReadTouchstone(std::string_view text, int ports, TouchstoneData& data, ImportError& error) {
    Parser parser(ports, data, error);
    return parser.run(text);
}

std::string ParameterName(char parameter, int ports, int row, int column) {
    std::string name(1, parameter);
    name += std::to_string(row + 1);
    if (ports >= 10)
        name += ',';
    return name + std::to_string(column + 1);
}

std::optional<std::pair<int, int>> ParseParameterName(std::string_view name, char parameter,
                                                      int ports) {
    if (name.size() < 3 || std::toupper(static_cast<unsigned char>(name.front())) != parameter)
        return std::nullopt;
    const std::string_view digits = name.substr(1);
    std::optional<int> row, column;
    if (const std::size_t comma = digits.find(','); comma != std::string_view::npos) {
        row = WholeNumber(digits.substr(0, comma));
        column = WholeNumber(digits.substr(comma + 1));
    } else if (digits.size() == 2 && ports < 10) {
        row = WholeNumber(digits.substr(0, 1));
        column = WholeNumber(digits.substr(1));
    }
    if (!row || !column || *row < 1 || *row > ports || *column < 1 || *column > ports)
        return std::nullopt;
    return std::pair{*row - 1, *column - 1};
}

} // namespace veltrana
