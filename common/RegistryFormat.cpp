#include "RegistryFormat.h"

#include <charconv>

namespace veltrana {

namespace {

constexpr std::string_view kHeader = "VeltranaRegistry 1";
constexpr std::string_view kTrailer = "End";
constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";
constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT";
constexpr char kHex[] = "0123456789abcdef";

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MustEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '%' || c == '=' || c == '[' || c == ']';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendHexByte(std::string& out, unsigned char c) {
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (MustEscape(c)) {
            out += '%';
            AppendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size())
                return false;
            int hi = HexDigit(text[i + 1]);
            int lo = HexDigit(text[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (MustEscape(c)) {
            return false;
        } else {
            out += text[i];
        }
    }
    return true;
}

bool ParseHexBytes(std::string_view text, RegBytes& out) {
    if (text.size() % 2 != 0)
        return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = HexDigit(text[i]);
        int lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return true;
}

bool ParseNumber(std::string_view text, std::int32_t& out) {
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ValidKeyName(std::string_view name) {
    for (std::string_view root : {kCurrentUser, kClassesRoot}) {
        if (name == root)
            return true;
        if (name.size() > root.size() + 1 && name.substr(0, root.size()) == root &&
            name[root.size()] == '\\')
            return RegValidSubKey(name.substr(root.size() + 1));
    }
    return false;
}

RegParseResult Damaged(size_t lineNumber, std::string_view what) {
    RegParseResult r;
    r.damaged = true;
    r.problem = "line " + std::to_string(lineNumber) + ": " + std::string(what);
    return r;
}

} // namespace

bool RegNameLess::operator()(std::string_view a, std::string_view b) const {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char x = LowerAscii(a[i]);
        char y = LowerAscii(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

std::string RegKeyName(RegRoot root, std::string_view subKey) {
    std::string name(root == RegRoot::CurrentUser ? kCurrentUser : kClassesRoot);
    if (!subKey.empty()) {
        name += '\\';
        name += subKey;
    }
    return name;
}

bool RegValidSubKey(std::string_view subKey) {
    if (subKey.empty())
        return true;
    if (subKey.front() == '\\' || subKey.back() == '\\')
        return false;
    return subKey.find("\\\\") == std::string_view::npos;
}

RegParseResult ParseRegistry(std::string_view text) {
    RegParseResult result;
    if (text.empty())
        return result;
    if (text.back() != '\n')
        return Damaged(1, "the file does not end with a complete line");

    RegValueMap* current = nullptr;
    bool ended = false;
    size_t lineNumber = 0;
    size_t pos = 0;
    std::string name, decoded;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNumber;

        if (lineNumber == 1) {
            if (line != kHeader)
                return Damaged(lineNumber, "not a Veltrana registry store");
            continue;
        }
        if (ended)
            return Damaged(lineNumber, "text after the end");
        if (line == kTrailer) {
            ended = true;
            continue;
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            if (!Unescape(line.substr(1, line.size() - 2), name) || !ValidKeyName(name))
                return Damaged(lineNumber, "bad key name");
            auto [it, inserted] = result.keys.try_emplace(name);
            if (!inserted)
                return Damaged(lineNumber, "key listed twice");
            current = &it->second;
            continue;
        }
        if (line.size() < 2 || line[1] != ' ')
            return Damaged(lineNumber, "unreadable line");
        if (!current)
            return Damaged(lineNumber, "value outside a key");
        size_t eq = line.find('=');
        if (eq == std::string_view::npos || !Unescape(line.substr(2, eq - 2), name))
            return Damaged(lineNumber, "bad value name");
        std::string_view data = line.substr(eq + 1);
        RegValue value;
        switch (line[0]) {
        case '1':
            if (!Unescape(data, decoded))
                return Damaged(lineNumber, "bad string value");
            value = decoded;
            break;
        case '3': {
            RegBytes bytes;
            if (!ParseHexBytes(data, bytes))
                return Damaged(lineNumber, "bad binary value");
            value = std::move(bytes);
            break;
        }
        case '4': {
            std::int32_t number = 0;
            if (!ParseNumber(data, number))
                return Damaged(lineNumber, "bad number value");
            value = number;
            break;
        }
        default:
            return Damaged(lineNumber, "unknown value type");
        }
        if (!current->try_emplace(name, std::move(value)).second)
            return Damaged(lineNumber, "value listed twice");
    }
    if (!ended)
        return Damaged(lineNumber, "the file is incomplete");
    return result;
}

std::string SerializeRegistry(const RegKeyMap& keys) {
    std::string out(kHeader);
    out += '\n';
    for (const auto& [keyName, values] : keys) {
        out += '[';
        out += Escape(keyName);
        out += "]\n";
        for (const auto& [valueName, value] : values) {
            if (const auto* s = std::get_if<std::string>(&value)) {
                out += "1 " + Escape(valueName) + '=' + Escape(*s);
            } else if (const auto* b = std::get_if<RegBytes>(&value)) {
                out += "3 " + Escape(valueName) + '=';
                for (std::uint8_t byte : *b)
                    AppendHexByte(out, byte);
            } else {
                out +=
                    "4 " + Escape(valueName) + '=' + std::to_string(std::get<std::int32_t>(value));
            }
            out += '\n';
        }
    }
    out += kTrailer;
    out += '\n';
    return out;
}

} // namespace veltrana
