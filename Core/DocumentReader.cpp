#include "Core/DocumentReader.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
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
    : m_EngineFactory(factory),
      m_Record(factory ? factory->Record() : nullptr),
      m_Budget(factory ? factory->Budget() : nullptr) {
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
    bool dropping = false;
    while (!m_In.failed) {
        while (m_In.pos < m_In.line.size() && IsSpace(m_In.line[m_In.pos])) {
            ++m_In.pos;
        }
        if (m_In.pos < m_In.line.size()) {
            if (extract()) {
                if (m_Record) {
                    ++m_Record->tokens;
                }
                return true;
            }
            if (m_Record) {
                if (dropping) {
                    ++m_Record->forgiven.back().number;
                } else {
                    Forgive(ReadRecord::Forgiven::kLineSkipped, m_In.line.substr(m_In.pos));
                }
            }
            dropping = true;
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
        NoteGluedText(i);
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
        NoteGluedText(m_In.pos + length);
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
        if (m_Record) {
            m_Record->variables.emplace(std::make_pair(m_Document, token), Here());
        }
        return ValueD(token, m_Document, slot);
    }
    // A token that does not start with a number reads as 0.
    const size_t length = ScanFloat(token, 0);
    if (m_Record && !token.empty() && length < token.size()) {
        Forgive(
            length == 0 ? ReadRecord::Forgiven::kNotANumber : ReadRecord::Forgiven::kIgnoredText,
            token, static_cast<int32_t>(length));
    }
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
    int32_t component = 0;
    // Components are fractions of full intensity; the format takes any number.
    const auto read = [&] {
        const ValueD value = ReadValue();
        if (m_Record && !value.IsBound() && !(value.Get() >= 0.0f && value.Get() <= 1.0f)) {
            std::ostringstream text;
            text << value.Get();
            Forgive(ReadRecord::Forgiven::kColorOutOfRange, text.str(), component);
        }
        ++component;
        return value;
    };
    const ValueD r = read();
    const ValueD g = read();
    const ValueD b = read();
    const ValueD a = read();
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
    if (m_Record && !m_Record->failure.raised) {
        ReadRecord::Failure& failure = m_Record->failure;
        failure.raised = true;
        failure.place = ReadPlace{m_In.fileName, m_In.lineNumber};
        failure.message = message;
        failure.token = m_Record->tokens;
        failure.open = m_Record->open;
        failure.lastEnded = m_Record->lastEnded;
        failure.keywords = std::move(m_Record->keywords);
    }
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

ReadPlace DocumentReader::Here() const {
    return m_Record ? ReadPlace{m_In.fileName, m_In.lineNumber} : ReadPlace{};
}

void DocumentReader::Forgive(ReadRecord::Forgiven kind, std::string text, int32_t number) {
    if (m_Record) {
        m_Record->forgiven.push_back({kind, Here(), std::move(text), number, m_Record->tokens});
    }
}

// A number extracted up to end, where the token it began goes on: the rest stays behind.
void DocumentReader::NoteGluedText(size_t end) {
    if (!m_Record || end >= m_In.line.size() || IsSpace(m_In.line[end])) {
        return;
    }
    size_t tokenEnd = end;
    while (tokenEnd < m_In.line.size() && !IsSpace(m_In.line[tokenEnd])) {
        ++tokenEnd;
    }
    Forgive(ReadRecord::Forgiven::kGluedText, m_In.line.substr(m_In.pos, tokenEnd - m_In.pos),
            static_cast<int32_t>(end - m_In.pos));
    // Noted while the number is extracted, before it is counted as read.
    ++m_Record->forgiven.back().token;
}

void DocumentReader::NoteUnreadText(int32_t inSource) {
    if (!m_Record) {
        return;
    }
    // Whatever reading on finds (a line too long, say) is no error of the load.
    const ReadRecord::Failure failure = m_Record->failure;
    std::string unread;
    try {
        unread = ReadToken();
    } catch (const std::logic_error&) {
        m_Record->failure = failure;
    }
    if (!unread.empty()) {
        Forgive(ReadRecord::Forgiven::kUnreadText, unread, inSource);
    }
}

void DocumentReader::NotePlace(const void* object, const ReadPlace& place) {
    if (m_Record) {
        m_Record->places[object] = place;
    }
}

void DocumentReader::NoteKeywords(std::initializer_list<const char*> keywords) {
    if (m_Record) {
        m_Record->keywords.assign(keywords.begin(), keywords.end());
    }
}

DocumentReader::CountedList::CountedList(DocumentReader* reader, const char* label, int32_t count)
    : m_Record(reader->m_Record) {
    if (!m_Record) {
        return;
    }
    if (count < 0) {
        reader->Forgive(ReadRecord::Forgiven::kNegativeCount, label, count);
    }
    ReadRecord::List list;
    list.label = label;
    list.count = count;
    list.place = reader->Here();
    m_Record->open.push_back(std::move(list));
}

void DocumentReader::CountedList::At(int32_t done, const std::string& name) {
    if (m_Record) {
        m_Record->open.back().done = done;
        m_Record->open.back().name = name;
        m_Record->open.back().itemToken = m_Record->tokens;
    }
}

DocumentReader::CountedList::~CountedList() {
    if (m_Record) {
        m_Record->lastEnded = std::move(m_Record->open.back());
        m_Record->lastEnded.done = std::max(m_Record->lastEnded.count, 0);
        m_Record->lastEnded.endToken = m_Record->tokens;
        m_Record->open.pop_back();
    }
}

}  // namespace ZEL
