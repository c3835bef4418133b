#include "NameMatch.h"

namespace fabulor {

namespace {

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// "C:" or "\\server\share": the part of a path that names a disk.
std::size_t drivePrefixLength(std::string_view path)
{
    if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':') return 2;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t i = 2;
        int parts = 0;
        while (i < path.size()) {
            if (isSeparator(path[i]) && ++parts == 2) return i;
            ++i;
        }
        return path.size();
    }
    return 0;
}

// Upper-cased, with "/" read as "\".
std::string normalised(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = c == '/' ? '\\' : upperAscii(c);
    return out;
}

// "*" any run, "?" exactly one character. Iterative with one backtrack point,
// so hostile patterns cannot blow up.
bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    std::size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// File-name parts: a trailing ".*" also matches a name without any extension,
// so "*.*" takes every name, dotted or not.
bool fileNameMatch(std::string_view pattern, std::string_view name)
{
    if (wildcardMatch(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return wildcardMatch(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

bool patternMatches(std::string_view rawPattern, std::string_view rawName)
{
    std::string pattern = normalised(rawPattern);
    const std::string name = normalised(rawName);
    pattern.erase(0, drivePrefixLength(pattern));

    const std::size_t nameCut = name.rfind('\\');
    const std::string_view nameFile =
        nameCut == std::string::npos ? std::string_view(name) : std::string_view(name).substr(nameCut + 1);
    if (nameFile.empty()) return false;
    const std::string_view namePath =
        nameCut == std::string::npos ? std::string_view() : std::string_view(name).substr(0, nameCut);

    const std::size_t patternCut = pattern.rfind('\\');
    if (patternCut == std::string::npos) return fileNameMatch(pattern, nameFile);
    std::string_view patternPath = std::string_view(pattern).substr(0, patternCut);
    if (!patternPath.empty() && patternPath.front() == '\\') patternPath.remove_prefix(1);
    return wildcardMatch(patternPath, namePath) &&
           fileNameMatch(std::string_view(pattern).substr(patternCut + 1), nameFile);
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string storedEntryName(std::string_view given)
{
    std::string name(given);
    for (char& c : name)
        if (c == '\\') c = '/';
    name.erase(0, drivePrefixLength(name));
    if (!name.empty() && name.front() == '/') name.erase(0, 1);
    while (name.compare(0, 3, "../") == 0)
        name.erase(0, 3);
    return name;
}

bool sameEntryName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

bool matchesMask(std::string_view mask, std::string_view name)
{
    while (true) {
        const std::size_t cut = mask.find(';');
        const std::string_view pattern = trimBlanks(mask.substr(0, cut));
        if (!pattern.empty() && patternMatches(pattern, name)) return true;
        if (cut == std::string_view::npos) return false;
        mask.remove_prefix(cut + 1);
    }
}

} // namespace fabulor
