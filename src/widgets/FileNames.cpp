#include "FileNames.h"

#include <QDir>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace fabulor {
namespace {

// The lone surrogates that stand for bytes 0x80 to 0xFF.
constexpr char16_t EscapeBase = 0xDC00;
constexpr char16_t FirstEscape = EscapeBase + 0x80;
constexpr char16_t LastEscape = EscapeBase + 0xFF;

// Decoded by hand: Qt's UTF-8 decoder says neither where nor how long a bad
// sequence was, and each of its bytes must be kept on its own. The limits
// of each lead byte's first continuation byte keep out overlong forms,
// surrogates and code points past U+10FFFF, as UTF-8 itself does.
struct Lead {
    int continuations;
    std::uint8_t low;  // allowed range of the first continuation byte
    std::uint8_t high; // (the others are always 0x80 to 0xBF)
};

Lead LeadOf(std::uint8_t b)
{
    if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF};
    if (b == 0xE0) return {2, 0xA0, 0xBF};
    if (b == 0xED) return {2, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {2, 0x80, 0xBF};
    if (b == 0xF0) return {3, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {3, 0x80, 0xBF};
    if (b == 0xF4) return {3, 0x80, 0x8F};
    return {0, 0, 0}; // a continuation byte or one UTF-8 never uses
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

QString FileNameFromBytes(const char* bytes, std::size_t size)
{
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes);
    QString name;
    name.reserve(qsizetype(size));
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t b = in[at];
        if (b < 0x80) {
            name += QChar(char16_t(b));
            ++at;
            continue;
        }
        const Lead lead = LeadOf(b);
        // The whole sequence must lie inside the name.
        bool valid = lead.continuations > 0 && at + std::size_t(lead.continuations) < size;
        char32_t c = 0;
        if (valid) {
            c = b & (0x7F >> (lead.continuations + 1));
            for (int i = 1; valid && i <= lead.continuations; ++i) {
                const std::uint8_t next = in[at + std::size_t(i)];
                const std::uint8_t low = i == 1 ? lead.low : 0x80;
                const std::uint8_t high = i == 1 ? lead.high : 0xBF;
                valid = next >= low && next <= high;
                c = (c << 6) | (next & 0x3F);
            }
        }
        if (!valid) {
            name += QChar(char16_t(EscapeBase + b));
            ++at;
            continue;
        }
        const std::array<char16_t, 2> units = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        if (QChar::requiresSurrogates(c))
            name.append(reinterpret_cast<const QChar*>(units.data()), 2);
        else
            name += QChar(char16_t(c));
        at += std::size_t(lead.continuations) + 1;
    }
    return name;
}

QString FileNameFromBytes(const std::string& bytes)
{
    return FileNameFromBytes(bytes.data(), bytes.size());
}

std::string FileNameBytes(const QString& name)
{
    std::string out;
    out.reserve(std::size_t(name.size()));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u >= FirstEscape && u <= LastEscape) {
            out += char(u - EscapeBase);
        } else if (QChar::isHighSurrogate(u) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            AppendUtf8(out, QChar::surrogateToUcs4(u, name[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(u)) {
            AppendUtf8(out, QChar::ReplacementCharacter); // as Qt writes a lone surrogate
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

QString FileNameShown(const QString& name)
{
    const std::string bytes = FileNameBytes(name);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QString AbsoluteFileName(const QString& name)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name)) return QDir::cleanPath(name);
    // The working folder's own bytes, not Qt's decoding of them.
    std::string folder;
    if (char* here = ::getcwd(nullptr, 0)) {
        folder = here;
        std::free(here);
    }
    return QDir::cleanPath(FileNameFromBytes(folder) + QLatin1Char('/') + name);
}

bool FileNameExists(const QString& name)
{
    struct stat st {};
    return !name.isEmpty() && ::stat(FileNameBytes(name).c_str(), &st) == 0;
}

bool FileNameIsRegularFile(const QString& name)
{
    struct stat st {};
    return !name.isEmpty() && ::stat(FileNameBytes(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

QString LocalFileName(const QUrl& url)
{
    if (!url.isLocalFile()) return {};
    // A file on another host keeps Qt's reading ("//host/path").
    if (!url.host().isEmpty()) return url.toLocalFile();
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return FileNameFromBytes(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace fabulor
