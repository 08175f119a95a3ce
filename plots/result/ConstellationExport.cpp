#include "ConstellationExport.h"

#include "NumberText.h"
#include "Text.h"

#include <charconv>
#include <cmath>

namespace veltrana {

namespace {

double At(const std::vector<double>& values, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < values.size()
               ? values[static_cast<std::size_t>(i)]
               : 0.0;
}

std::optional<double> Finite(std::optional<double> value) {
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::string Optional(const std::optional<double>& value) {
    return value ? ExactNumber(*value) : std::string();
}

std::string CsvText(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    return "\"" + ReplaceAll(text, "\"", "\"\"") + "\"";
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonNumber(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? ExactNumber(*value) : "null";
}

std::string Element(const Root& r) {
    return std::string(r.pole ? "pole " : "zero ") + r.kind;
}

// The value in MHz of a normalised one, when the norm is known.
std::optional<double> InMHz(double value, const Constellation& c) {
    return c.freqNormMHz ? std::optional<double>(value * *c.freqNormMHz) : std::nullopt;
}

std::optional<double> ResonanceMHz(const Root& r, const Constellation& c) {
    return r.imaginary != 0 ? InMHz(NaturalFrequency(r), c) : std::nullopt;
}

} // namespace

Constellation ConstellationOf(const ResultData& d) {
    Constellation c;
    c.title = d.titleLine;
    c.gainText = d.gainText;
    c.gain = Finite(ParseNumber(TrimBlanks(d.gainText)));
    c.totalSum = Finite(ParseNumber(TrimBlanks(d.secondLine)));
    if (d.fitRecord.size() >= 2) {
        c.passBandSum = d.fitRecord[0];
        c.delaySum = d.fitRecord[1];
    }
    if (d.fitRecord.size() >= 4) {
        c.sidelobeSum = d.fitRecord[2];
        if (d.fitRecord[3] > 0)
            c.freqNormMHz = d.fitRecord[3];
    }
    auto add = [&](bool pole, const char* kind, int number, double re, double im) {
        c.roots.push_back({pole, kind, number, re, im});
    };
    if (d.nSigmaPoles > 0)
        add(true, "sigma axis", 1, d.sigmaPole, 0);
    for (int i = 0; i < d.nPolePairs; ++i) {
        add(true, "pair", i + 1, At(d.pairReal, i), At(d.pairImag, i));
        add(true, "pair", i + 1, At(d.pairReal, i), -At(d.pairImag, i));
    }
    if (d.nSigmaZeros > 0) {
        // A doublet is a double zero; a paired (lossless) zero has its mirror image too.
        const int copies = d.zeroDoublet == 1 ? 2 : 1;
        for (int k = 0; k < copies; ++k) {
            add(false, "sigma axis", 1, d.sigmaZeroLoc, 0);
            if (d.zeroPaired == 1)
                add(false, "sigma axis", 1, -d.sigmaZeroLoc, 0);
        }
    }
    for (int m = 0; m < d.nOmegaZeros; ++m) {
        add(false, "omega axis", m + 1, 0, At(d.omegaZeros, m));
        add(false, "omega axis", m + 1, 0, -At(d.omegaZeros, m));
    }
    for (int q = 0; q < d.nZeroPairs + d.nZeroQuads; ++q) {
        const bool quad = q >= d.nZeroPairs;
        const int number = quad ? q - d.nZeroPairs + 1 : q + 1;
        const double re = At(d.zeroReal, q), im = At(d.zeroImag, q);
        for (double sign : {1.0, -1.0}) {
            add(false, quad ? "quad" : "pair", number, re, sign * im);
            if (quad)
                add(false, "quad", number, -re, sign * im);
        }
    }
    return c;
}

double NaturalFrequency(const Root& root) {
    return std::hypot(root.real, root.imaginary);
}

std::optional<double> QualityFactor(const Root& root) {
    if (root.real == 0 || root.imaginary == 0)
        return std::nullopt;
    return NaturalFrequency(root) / (2 * std::fabs(root.real));
}

std::string ExactNumber(double value) {
    if (!std::isfinite(value))
        return {};
    char digits[40];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 17);
    return std::string(digits, written.ptr);
}

std::string ConstellationCsv(const Constellation& c) {
    std::string out = "element,number,real,imaginary,real MHz,imaginary MHz,f0 MHz,Q\r\n";
    for (const Root& r : c.roots) {
        out += Element(r) + "," + std::to_string(r.number) + "," + ExactNumber(r.real) + "," +
               ExactNumber(r.imaginary) + "," + Optional(InMHz(r.real, c)) + "," +
               Optional(InMHz(r.imaginary, c)) + "," + Optional(ResonanceMHz(r, c)) + "," +
               Optional(QualityFactor(r)) + "\r\n";
    }
    out += "\r\nquantity,value\r\n";
    out += "title," + CsvText(c.title) + "\r\n";
    out += "gain," + (c.gain ? ExactNumber(*c.gain) : CsvText(c.gainText)) + "\r\n";
    out += "frequency norm MHz," + Optional(c.freqNormMHz) + "\r\n";
    out += "error sum pass band," + Optional(c.passBandSum) + "\r\n";
    out += "error sum delay," + Optional(c.delaySum) + "\r\n";
    out += "error sum sidelobes," + Optional(c.sidelobeSum) + "\r\n";
    out += "error sum total," + Optional(c.totalSum) + "\r\n";
    return out;
}

std::string ConstellationJson(const Constellation& c) {
    auto roots = [&](bool poles) {
        std::string list;
        for (const Root& r : c.roots) {
            if (r.pole != poles)
                continue;
            list += list.empty() ? "\n" : ",\n";
            list += "    {\"kind\": " + JsonText(r.kind) +
                    ", \"number\": " + std::to_string(r.number) +
                    ", \"real\": " + JsonNumber(r.real) +
                    ", \"imaginary\": " + JsonNumber(r.imaginary) +
                    ", \"realMHz\": " + JsonNumber(InMHz(r.real, c)) +
                    ", \"imaginaryMHz\": " + JsonNumber(InMHz(r.imaginary, c)) +
                    ", \"f0MHz\": " + JsonNumber(ResonanceMHz(r, c)) +
                    ", \"Q\": " + JsonNumber(QualityFactor(r)) + "}";
        }
        return "[" + list + (list.empty() ? "]" : "\n  ]");
    };
    std::string out = "{\n";
    out += "  \"title\": " + JsonText(c.title) + ",\n";
    out += "  \"frequencyNormMHz\": " + JsonNumber(c.freqNormMHz) + ",\n";
    out += "  \"gain\": " + JsonNumber(c.gain) + ",\n";
    out += "  \"errorSums\": {\"passBand\": " + JsonNumber(c.passBandSum) +
           ", \"delay\": " + JsonNumber(c.delaySum) +
           ", \"sidelobes\": " + JsonNumber(c.sidelobeSum) +
           ", \"total\": " + JsonNumber(c.totalSum) + "},\n";
    out += "  \"poles\": " + roots(true) + ",\n";
    out += "  \"zeros\": " + roots(false) + "\n";
    return out + "}\n";
}

} // namespace veltrana
