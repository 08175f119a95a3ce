#include "JsonSummary.h"

#include "OptimiserRun.h"

#include <cmath>
#include <cstdio>

namespace veltrana {

namespace {

/// The length of the UTF-8 sequence at text[i], 0 when it is not a valid one.
size_t Utf8Length(const std::string& text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = c >= 0xF5 ? 0 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    for (size_t n = 1; n < length; ++n) {
        if ((static_cast<unsigned char>(text[i + n]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

/// A JSON string: quotes, backslashes and control characters escaped, and every byte that
/// is not part of valid UTF-8 (a file name in another encoding) replaced by U+FFFD.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const size_t length = Utf8Length(text, i); length > 0) {
            out.append(text, i, length);
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out + "\"";
}

std::string Number(double v) {
    if (!std::isfinite(v)) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

/// Members joined into an object or array with one member per line.
class Members {
public:
    void Add(const std::string& name, const std::string& value) {
        m_text += (m_text.empty() ? "" : ",\n") + ("  " + Quoted(name) + ": " + value);
    }
    std::string Object() const { return "{\n" + m_text + "\n}"; }

private:
    std::string m_text;
};

std::string StatusName(int status) {
    switch (status) {
    case RunOk:
        return "completed";
    case RunCancelled:
        return "cancelled";
    default:
        return "failed";
    }
}

std::string Locations(const RunSummary& s) {
    const FilterLayout& l = s.problem.layout;
    const Uncertainty& u = s.uncertainty;
    std::string out;
    for (int i = 0; i < l.size(); ++i) {
        const size_t at = static_cast<size_t>(i);
        out += std::string(out.empty() ? "" : ",") +
               "\n    {\"name\": " + Quoted(LocationName(l, i)) +
               ", \"value\": " + Number(SignedLocation(l, s.fit.x, i)) +
               ", \"standardError\": " + Number(u.standardError[at]) +
               ", \"determined\": " + (u.undetermined[at] || u.onLimit[at] ? "false" : "true") +
               ", \"onLimit\": " + (u.onLimit[at] ? "true" : "false") + "}";
    }
    return "[" + out + (out.empty() ? "]" : "\n  ]");
}

std::string Pairs(const RunSummary& s) {
    const FilterLayout& l = s.problem.layout;
    std::string out;
    for (int i = 0; i < l.size(); ++i) {
        if (!l.isPairImaginary(i)) {
            continue;
        }
        const Resonance r = ResonanceOf(s.problem, s.fit.x[static_cast<size_t>(i - 1)],
                                        s.fit.x[static_cast<size_t>(i)]);
        std::string name = LocationName(l, i);
        name = name.substr(name.find(" of ") + 4);
        out += std::string(out.empty() ? "" : ",") + "\n    {\"name\": " + Quoted(name) +
               ", \"f0MHz\": " + Number(r.f0MHz) + ", \"Q\": " + Number(r.q) + "}";
    }
    return "[" + out + (out.empty() ? "]" : "\n  ]");
}

} // namespace

std::string FormatJsonSummary(const JsonRun& run, const RunSummary& s) {
    Members m;
    m.Add("input", Quoted(run.inputPath));
    m.Add("result", Quoted(run.resultPath));
    m.Add("status", Quoted(StatusName(run.status)));
    m.Add("exitStatus", std::to_string(run.status));
    m.Add("message", Quoted(run.message));
    if (s.fitted) {
        const ErrorParts& e = s.fit.parts;
        const Uncertainty& u = s.uncertainty;
        m.Add("stopReason", Quoted(s.fit.stopReason));
        m.Add("goodByAccuracy", s.fit.good ? "true" : "false");
        m.Add("errorSums",
              "{\"start\": " + Number(s.startError) + ", \"passBand\": " + Number(e.passBand) +
                  ", \"delay\": " + Number(e.delay) + ", \"sidelobes\": " + Number(e.sidelobe) +
                  ", \"total\": " + Number(e.total()) + "}");
        m.Add("freqNormMHz", Number(s.problem.freqNorm));
        m.Add("gain", "{\"value\": " + Number(e.gain) +
                          ", \"standardError\": " + Number(u.gainStandardError) +
                          ", \"determined\": " + (u.gainFixed ? "false" : "true") + "}");
        m.Add("locations", Locations(s));
        m.Add("pairs", Pairs(s));
        m.Add("standardErrorsEstimated", u.estimated ? "true" : "false");
        m.Add("residualVariance", u.estimated ? Number(u.residualVariance) : "null");
        m.Add("degreesOfFreedom", std::to_string(u.residuals - u.unknowns));
        m.Add("evaluations", std::to_string(s.fit.evaluations));
        m.Add("iterations", std::to_string(s.fit.iterations));
        m.Add("starts", std::to_string(s.fit.starts));
        m.Add("threads", std::to_string(s.fit.threads));
        m.Add("fitSeconds", Number(s.fitSeconds));
    }
    m.Add("seconds", Number(run.seconds));
    return m.Object() + "\n";
}

} // namespace veltrana
