#include "Core/DocumentReader.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "Core/CheckResult.h"
#include "Core/Factory.h"
#include "Core/Scenimator.h"

namespace ZEL {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the number at s[pos] in decimal or exponent notation; 0 when none starts there.
size_t ScanFloat(const std::string& s, size_t pos) {
    size_t i = pos;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i, ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) {
                ++j;
            }
            i = j;
        }
    }
    return i - pos;
}

// Out-of-range literals saturate (1e39 reads as the largest float) rather than failing.
float ToFloat(const std::string& text) {
    const double d = std::strtod(text.c_str(), nullptr);
    if (d > FLT_MAX) {
        return FLT_MAX;
    }
    if (d < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(d);
}

int32_t ToInt(const std::string& text) {
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > INT32_MAX || (errno == ERANGE && v > 0)) {
        return INT32_MAX;
    }
    if (v < INT32_MIN || (errno == ERANGE && v < 0)) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(v);
}

std::string FileIdentity(const std::string& path) {
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

}  // namespace

DocumentReader::DocumentReader(Factory* factory)
    : m_EngineFactory(factory), m_Budget(factory ? factory->Budget() : nullptr) {
    if (!m_Budget) {
        m_OwnBudget = std::make_unique<LoadBudget>();
        m_Budget = m_OwnBudget.get();
    }
}

DocumentReader::~DocumentReader() {
    while (m_FilesEntered > 0) {
        LeaveFile();
    }
}

void DocumentReader::NextLine() {
    ++m_In.lineNumber;
    m_In.pos = 0;
    switch (m_In.source.NextLine(&m_In.line)) {
        case LineSource::Next::kLine:
            return;
        case LineSource::Next::kEnd:
            m_In.failed = true;
            return;
        case LineSource::Next::kLineTooLong:
            RaiseParseError("a line may hold at most 1 MiB");
        case LineSource::Next::kFileTooLarge:
            RaiseParseError("the file \"" + m_In.fileName + "\" is larger than 64 MiB");
        case LineSource::Next::kReadError:
            RaiseParseError("could not read the file \"" + m_In.fileName + "\"");
    }
}

// Tries extract on the rest of the current line; a failed extraction drops that line and
// the next one is tried, until the file ends.
template <typename Extract>
bool DocumentReader::NextItem(Extract extract) {
    while (!m_In.failed) {
        while (m_In.pos < m_In.line.size() && IsSpace(m_In.line[m_In.pos])) {
            ++m_In.pos;
        }
        if (m_In.pos < m_In.line.size() && extract()) {
            return true;
        }
        NextLine();
    }
    return false;
}

std::string DocumentReader::ReadToken() {
    std::string token;
    NextItem([&] {
        const size_t start = m_In.pos;
        while (m_In.pos < m_In.line.size() && !IsSpace(m_In.line[m_In.pos])) {
            ++m_In.pos;
        }
        token.assign(m_In.line, start, m_In.pos - start);
        return true;
    });
    return token;
}

int32_t DocumentReader::ReadInt() {
    int32_t value = 0;
    NextItem([&] {
        size_t i = m_In.pos;
        if (i < m_In.line.size() && (m_In.line[i] == '+' || m_In.line[i] == '-')) {
            ++i;
        }
        const size_t digitsStart = i;
        while (i < m_In.line.size() && IsDigit(m_In.line[i])) {
            ++i;
        }
        if (i == digitsStart) {
            return false;
        }
        value = ToInt(m_In.line.substr(m_In.pos, i - m_In.pos));
        m_In.pos = i;
        return true;
    });
    return value;
}

float DocumentReader::ReadFloat() {
    float value = 0;
    NextItem([&] {
        const size_t length = ScanFloat(m_In.line, m_In.pos);
        if (length == 0) {
            return false;
        }
        value = ToFloat(m_In.line.substr(m_In.pos, length));
        m_In.pos += length;
        return true;
    });
    return value;
}

ValueD DocumentReader::ReadValue() {
    const std::string token = ReadToken();
    if (!token.empty() && token[0] == '$') {
        const float* slot = m_Document->CreateVariable(token);
        m_VariableSeen = true;
        return ValueD(token, m_Document, slot);
    }
    // A token that does not start with a number reads as 0.
    const size_t length = ScanFloat(token, 0);
    return ValueD(length == 0 ? 0.0f : ToFloat(token.substr(0, length)));
}

void DocumentReader::Expect(const std::string& keyword) {
    const std::string token = ReadToken();
    if (token != keyword) {
        RaiseParseError("expecting \"" + keyword + "\" got \"" + token + "\"");
    }
}

Color DocumentReader::ReadColor() {
    Expect(kColorKeyword);
    const ValueD r = ReadValue();
    const ValueD g = ReadValue();
    const ValueD b = ReadValue();
    const ValueD a = ReadValue();
    Expect("}");
    return Color(r, g, b, a);
}

Point DocumentReader::ReadPoint() {
    Expect(kPointKeyword);
    Point p;
    p.x = ReadValue();
    p.y = ReadValue();
    Expect("}");
    return p;
}

Rect DocumentReader::ReadRect() {
    Expect(kRectKeyword);
    Rect r;
    r.left = ReadValue();
    r.top = ReadValue();
    r.right = ReadValue();
    r.bottom = ReadValue();
    Expect("}");
    return r;
}

void DocumentReader::RaiseParseError(const std::string& message) const {
    throw std::logic_error("Parse Error:::" + m_In.fileName + " : " +
                           std::to_string(m_In.lineNumber) + " : " + message);
}

void DocumentReader::OpenInput(const std::string& path, Input* input) {
    const std::string native = ToNativePath(path);
    // Before opening: a file that is missing now is one to watch for.
    m_Budget->named.push_back(native);
    switch (input->source.Open(native)) {
        case LineSource::Opened::kOk:
            break;
        case LineSource::Opened::kCannotOpen:
            RaiseParseError("could not open the file \"" + path + "\"");
        case LineSource::Opened::kTooLarge:
            RaiseParseError("the file \"" + path + "\" is larger than 64 MiB");
    }
    input->line.clear();
    input->pos = 0;
    input->failed = false;
}

void DocumentReader::CheckCanEnter(const std::string& path) const {
    const std::string identity = FileIdentity(ToNativePath(path));
    for (const auto& open : m_Budget->chain) {
        if (open == identity) {
            RaiseParseError("the file \"" + path +
                            "\" is already being read: a document can not include itself");
        }
    }
    if (m_Budget->chain.size() >= LoadBudget::kMaxDepth) {
        RaiseParseError("documents and sources are nested deeper than " +
                        std::to_string(LoadBudget::kMaxDepth) + " levels");
    }
    if (m_Budget->files >= LoadBudget::kMaxFiles) {
        RaiseParseError("one load may read at most " + std::to_string(LoadBudget::kMaxFiles) +
                        " files");
    }
}

void DocumentReader::EnterFile(const std::string& path) {
    CheckCanEnter(path);
    ++m_Budget->files;
    m_Budget->chain.push_back(FileIdentity(ToNativePath(path)));
    ++m_FilesEntered;
}

void DocumentReader::LeaveFile() {
    m_Budget->chain.pop_back();
    --m_FilesEntered;
}

void DocumentReader::CountObject() {
    if (++m_Budget->objects > LoadBudget::kMaxObjects) {
        RaiseParseError("one load may read at most " + std::to_string(LoadBudget::kMaxObjects) +
                        " objects");
    }
}

}  // namespace ZEL
