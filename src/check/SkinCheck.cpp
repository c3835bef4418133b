// The rules of the skin check. Each looks at the skin the way the editor and
// the reader will load it (SkinReader finds keys as the document does) and
// says, in one short Polish sentence, which rule the skin breaks.

#include "check/SkinCheck.h"

#include "check/CheckInternals.h"
#include "check/Contrast.h"
#include "document/AnsiText.h"
#include "document/IntegerText.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace fabulor {

CheckPictureCache::CheckPictureCache() : m_entries(std::make_unique<Entries>()) {}
CheckPictureCache::~CheckPictureCache() = default;

namespace {

using check::DecodedPicture;
using check::PictureRole;
using check::SkinReader;

// Contrast below these is a warning and an error.
constexpr double RecommendedContrast = 4.5;
constexpr double LeastContrast = 2.0;
// The share of a text's background pixels whose contrast decides.
constexpr double WorstShare = 0.05;

constexpr Colour ButtonFace = 0x8000000Fu; // the window's background with no skin picture

// Names and values are quoted back this long at most: a key name may be
// hundreds of megabytes long.
constexpr std::size_t LongestQuoted = 40;
// Unknown names past this many are only counted, in one finding: a million
// of them make a list nobody reads, and an output of gigabytes.
constexpr std::size_t MostOfAKind = 200;

std::string Quoted(std::string_view text)
{
    return "„" + std::string(text) + "”";
}

// The start of a text in the skin's 8-bit bytes, as UTF-8, with "…" where it
// was cut.
std::string Shortened(std::string_view text)
{
    return check::Latin1ToUtf8(text.substr(0, LongestQuoted)) + (text.size() > LongestQuoted ? "…" : "");
}

// A count in Polish: the form of one, of two to four (but not twelve to
// fourteen), or of many.
std::string Counted(std::size_t count, std::string_view one, std::string_view few, std::string_view many)
{
    const std::size_t tens = count % 100;
    const std::size_t units = count % 10;
    std::string_view form = many;
    if (count == 1)
        form = one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        form = few;
    return std::to_string(count) + " " + std::string(form);
}

std::string SizeText(QSize size)
{
    return std::to_string(size.width()) + "×" + std::to_string(size.height());
}

std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known name a mistyped one most likely meant, or empty: at most two
// letters off, and fewer than half of the longer name's. Names whose
// lengths differ by more than that are never compared, so a name of any
// length costs no more than a known one.
template <typename Names> std::string_view Nearest(std::string_view name, const Names& known)
{
    constexpr std::size_t MostOff = 2;
    std::string upper;
    std::string_view best;
    std::size_t bestDistance = MostOff + 1;
    for (const std::string_view candidate : known) {
        if (name.size() > candidate.size() + MostOff || candidate.size() > name.size() + MostOff) continue;
        if (upper.size() != name.size()) upper = AnsiUpperCase(name);
        const std::size_t distance = EditDistance(upper, AnsiUpperCase(candidate));
        if (distance < bestDistance && 2 * distance < std::max(upper.size(), candidate.size())) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

// How much of box the region covers. Its rectangles lie in bands from top
// to bottom, each band's from left to right: only the bands across the box,
// and within each the rectangles across it, are looked at, so a mask of
// millions of rectangles costs a small component little.
std::size_t AreaWithin(const QRegion& region, const QRect& box)
{
    const QRect* const end = region.end();
    const QRect* band = std::partition_point(region.begin(), end,
                                             [&box](const QRect& rect) { return rect.bottom() < box.top(); });
    std::size_t area = 0;
    while (band != end && band->top() <= box.bottom()) {
        const int top = band->top();
        const QRect* const bandEnd =
            std::partition_point(band, end, [top](const QRect& rect) { return rect.top() == top; });
        const QRect* r = std::partition_point(
            band, bandEnd, [&box](const QRect& rect) { return rect.right() < box.left(); });
        for (; r != bandEnd && r->left() <= box.right(); ++r) {
            const QRect part = r->intersected(box);
            area += std::size_t(part.width()) * std::size_t(part.height());
        }
        band = bandEnd;
    }
    return area;
}

class Checker {
public:
    Checker(const SkinReader& skin, const CheckEnvironment& environment, CheckPictureCache& cache)
        : m_skin(skin), m_environment(environment), m_cache(cache)
    {}

    std::vector<Finding> run()
    {
        shape();
        buttonPictures();
        const SkinLayout layout = check::LayoutOf(m_skin, m_environment, m_cache);
        placement(layout);
        overlaps(layout);
        legibility(layout);
        values();
        fonts();
        return sorted();
    }

private:
    void add(Severity severity, std::string_view section, std::string_view key, std::string message)
    {
        Finding finding;
        finding.severity = severity;
        finding.section = std::string(section);
        finding.key = std::string(key);
        finding.component = ComponentIndex(section);
        finding.message = std::move(message);
        m_findings.push_back(std::move(finding));
    }

    const DecodedPicture* picture(std::string_view section, std::string_view key, PictureRole role,
                                  bool pixels = false)
    {
        return check::StoredPicture(m_skin, m_cache, section, key, role, pixels);
    }

    // A stored picture that will not show: its decoder's message, or the
    // format it is in where another one is expected.
    void undecodable(Severity severity, std::string_view section, std::string_view key,
                     const DecodedPicture& p, const std::string& what, std::string_view expected)
    {
        if (p.decodes) return;
        if (!p.format.empty() && p.format != expected)
            add(severity, section, key,
                what + " jest plikiem " + p.format + ", a nie " + std::string(expected) +
                    ": jest zapisany, ale nigdy nie będzie pokazany.");
        else
            add(severity, section, key, what + " nie daje się odczytać: " + p.error + ".");
    }

    // The window's own section and its keys.
    static std::string_view window() { return WindowSection().name; }
    static std::string_view windowKey(KeyRole role) { return WindowKey(role).name; }

    // The stored skin picture, as the preview would show it.
    const DecodedPicture* skinPicture(bool pixels)
    {
        return picture(window(), windowKey(KeyRole::SkinPicture), PictureRole::Jpeg, pixels);
    }

    void shape()
    {
        const bool shaped = m_skin.flag(window(), windowKey(KeyRole::UseSkin));
        // Pictures of an unused shape are kept but never shown: worth a word, no more.
        const Severity used = shaped ? Severity::Error : Severity::Warning;
        const std::string_view maskKey = windowKey(KeyRole::Mask);
        const DecodedPicture* mask = picture(window(), maskKey, PictureRole::Mask);
        const DecodedPicture* background = skinPicture(shaped);
        if (mask) undecodable(used, window(), maskKey, *mask, "Maska", "BMP");
        if (background)
            undecodable(used, window(), windowKey(KeyRole::SkinPicture), *background, "Obraz skóry", "JPEG");
        if (!shaped) return;

        if (!mask)
            add(Severity::Error, window(), maskKey,
                "Skóra jest włączona, ale nie ma maski: okno nie dostanie kształtu.");
        else if (mask->decodes && mask->width == 0)
            add(Severity::Error, window(), maskKey, "Maska nie ma pikseli: okno nie dostanie kształtu.");
        else if (mask->decodes && mask->region.isEmpty())
            add(Severity::Error, window(), maskKey,
                "Maska ma jeden kolor: nic nie jest ukryte, okno nie dostanie kształtu.");
        if (mask && mask->decodes && mask->width > 0 && qRed(mask->topLeft) >= 240 &&
            qGreen(mask->topLeft) >= 240 && qBlue(mask->topLeft) >= 240)
            add(Severity::Warning, window(), maskKey,
                "Lewy górny piksel maski jest biały: program ukryje biel, a pokaże czerń.");

        if (!background)
            add(Severity::Warning, window(), windowKey(KeyRole::SkinPicture),
                "Skóra jest włączona, ale nie ma obrazu skóry.");
        if (mask && background && mask->decodes && background->decodes && mask->width > 0 &&
            (mask->width != background->width || mask->height != background->height))
            add(Severity::Warning, window(), maskKey,
                "Maska ma " + SizeText({mask->width, mask->height}) + " pikseli, a obraz skóry " +
                    SizeText({background->width, background->height}) + ".");
    }

    void buttonPictures()
    {
        const check::PictureBudgetPlan budget(m_skin, m_cache);
        const auto overBudget = [&](std::string_view section, std::string_view key, KeyRole role) {
            if (!budget.fits(section, key))
                add(Severity::Error, section, key, check::OverBudgetMessage(role));
        };
        overBudget(window(), windowKey(KeyRole::SkinPicture), KeyRole::SkinPicture);
        for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index) {
            const SkinComponent& component = SkinComponents()[std::size_t(index)];
            const std::string_view section = component.section;
            const std::string_view outKey = ComponentKey(index, KeyRole::MouseOut).name;
            const DecodedPicture* out = picture(section, outKey, PictureRole::Jpeg);
            if (out) undecodable(Severity::Error, section, outKey, *out, "Obraz przycisku", "JPEG");
            overBudget(section, outKey, KeyRole::MouseOut);
            // The warning sign has no mouse-over picture: whatever it stores is never used.
            if (!component.has(MouseOverGroup)) continue;
            const std::string_view overKey = ComponentKey(index, KeyRole::MouseOver).name;
            const DecodedPicture* over = picture(section, overKey, PictureRole::Jpeg);
            if (over) undecodable(Severity::Error, section, overKey, *over, "Obraz po najechaniu", "JPEG");
            overBudget(section, overKey, KeyRole::MouseOver);
            if (over && !out)
                add(Severity::Warning, section, outKey,
                    "Przycisk ma obraz po najechaniu, ale nie ma zwykłego: pokaże obraz wbudowany.");
            if (out && !over)
                add(Severity::Warning, section, overKey,
                    "Przycisk ma zwykły obraz, ale nie ma obrazu po najechaniu.");
        }
    }

    // What of a component can be seen at all: its box, cut to its page's
    // area where it lies on a page.
    static QRect seenPart(const SkinLayout& layout, int index)
    {
        const QRect box = layout.boxes[std::size_t(index)];
        return ComponentPage(index) == WindowParent ? box : box.intersected(layout.pageArea);
    }

    void placement(const SkinLayout& layout)
    {
        const QRect window(QPoint(0, 0), layout.window);
        const DecodedPicture* mask = check::ShapingMask(m_skin, m_cache);
        const bool masked = mask && !mask->region.isEmpty();
        for (int index = 0; index < int(ComponentCount); ++index) {
            const std::string_view section = SkinComponents()[std::size_t(index)].section;
            const QRect box = layout.boxes[std::size_t(index)];
            if (box.isEmpty()) continue;
            QRect seen = box;
            if (ComponentPage(index) != WindowParent) {
                const std::string area = " (" + SizeText(layout.pageArea.size()) + ").";
                seen = box.intersected(layout.pageArea);
                if (seen.isEmpty()) {
                    add(Severity::Error, section, {}, "Komponent leży całkowicie poza obszarem stron" + area);
                    continue;
                }
                if (seen != box)
                    add(Severity::Warning, section, {}, "Komponent wystaje poza obszar stron" + area);
            }
            const std::string size = " (" + SizeText(layout.window) + ").";
            if (!seen.intersects(window)) {
                add(Severity::Error, section, {}, "Komponent leży całkowicie poza oknem" + size);
                continue;
            }
            if (!window.contains(seen))
                add(Severity::Warning, section, {}, "Komponent wystaje poza okno" + size);
            seen = seen.intersected(window);
            if (!masked) continue;

            // The region, not the mask's box: a round window hides its corners.
            const std::size_t all = std::size_t(seen.width()) * std::size_t(seen.height());
            const std::size_t shown = AreaWithin(mask->region, seen);
            if (shown == 0)
                add(Severity::Error, section, {},
                    "Komponent leży całkowicie w obszarze ukrytym przez maskę: nie będzie go widać.");
            else if (shown < all)
                add(Severity::Warning, section, {},
                    "Maska ukrywa " + std::to_string(std::max<std::size_t>(1, (all - shown) * 100 / all)) +
                        "% komponentu: zostanie obcięty.");
        }
    }

    // Buttons that can be seen at the same time must not cover each other:
    // those on the window, and those on one page with those on the window.
    void overlaps(const SkinLayout& layout)
    {
        for (int a = FirstButtonIndex; a <= LastButtonIndex; ++a) {
            const QRect first = seenPart(layout, a);
            if (first.isEmpty()) continue;
            for (int b = a + 1; b <= LastButtonIndex; ++b) {
                const int pageA = ComponentPage(a);
                const int pageB = ComponentPage(b);
                if (pageA != pageB && pageA != WindowParent && pageB != WindowParent) continue;
                if (!first.intersects(seenPart(layout, b))) continue;
                add(Severity::Warning, SkinComponents()[std::size_t(a)].section, {},
                    "Przycisk zachodzi na " + Quoted(SkinComponents()[std::size_t(b)].chooserText) + ".");
            }
        }
    }

    // A component's colour of a role, as the reader draws it.
    std::optional<QRgb> colour(int component, KeyRole role)
    {
        // A text that is no colour: the value rule names it.
        const auto colour =
            TextToColour(m_skin.text(ComponentSection(component).name, ComponentKey(component, role).name));
        return colour ? std::optional(ReaderColour(*colour)) : std::nullopt;
    }

    // A finding on the font colour of a component when its text's contrast
    // is too low.
    void contrast(int component, double ratio)
    {
        const std::string_view section = ComponentSection(component).name;
        const std::string_view key = ComponentKey(component, KeyRole::FontColour).name;
        const std::string stated = "Kontrast tekstu z tłem " + PolishNumber(ratio) + ":1";
        if (ratio < LeastContrast)
            add(Severity::Error, section, key,
                stated + " jest poniżej " + PolishNumber(LeastContrast) +
                    ":1: tekstu nie da się przeczytać.");
        else if (ratio < RecommendedContrast)
            add(Severity::Warning, section, key,
                stated + " jest poniżej zalecanych " + PolishNumber(RecommendedContrast) + ":1.");
    }

    void legibility(const SkinLayout& layout)
    {
        // Boxes with a colour of their own.
        for (const int index : {DescriptionIndex, ItemListIndex}) {
            const auto text = colour(index, KeyRole::FontColour);
            const auto ground = colour(index, KeyRole::Background);
            if (text && ground) contrast(index, ContrastRatio(*text, *ground));
        }
        // The path labels lie on the page control's pages, in its colour,
        // all four in the first one's font colour.
        {
            const auto text = colour(FirstPathLabelIndex, KeyRole::FontColour);
            const auto ground = colour(PageControlIndex, KeyRole::Background);
            if (text && ground) contrast(FirstPathLabelIndex, ContrastRatio(*text, *ground));
        }
        // The message label lies on the window: on the skin picture where it
        // reaches, elsewhere on the window's own colour.
        const auto text = colour(MessageLabelIndex, KeyRole::FontColour);
        if (!text) return;
        QImage background;
        if (m_skin.flag(window(), windowKey(KeyRole::UseSkin)))
            if (const DecodedPicture* p = skinPicture(true); p && p->decodes) background = p->pixels;
        const QRect box = layout.boxes[MessageLabelIndex].intersected(QRect(QPoint(0, 0), layout.window));
        contrast(MessageLabelIndex,
                 WorstContrast(background, box, *text, ReaderColour(ButtonFace), WorstShare));
    }

    void values()
    {
        std::vector<std::string_view> sectionNames;
        for (const SkinSection& known : SkinSections())
            sectionNames.push_back(known.name);
        std::size_t unknownSections = 0;
        std::size_t unknownKeys = 0;
        for (const SkinReader::Section& section : m_skin.sections()) {
            if (!section.effective) continue;
            const SkinSection* known = FindSection(section.name);
            if (!known) {
                if (++unknownSections > MostOfAKind) continue;
                const std::string name = Shortened(section.name);
                const std::string_view nearest = Nearest(section.name, sectionNames);
                add(Severity::Warning, name, {},
                    "Nieznana sekcja " + Quoted(name) +
                        (nearest.empty() ? std::string(": program ją pomija.")
                                         : "; może chodzi o " + Quoted(nearest) + "?"));
                continue;
            }
            std::vector<std::string_view> keyNames;
            for (const SkinKey& key : known->keys)
                keyNames.push_back(key.name);
            // The last line of each key is the one read: seen from the end, a
            // name met before is an earlier duplicate.
            std::vector<bool> knownSeen(known->keys.size(), false);
            std::unordered_set<std::string_view, AnsiNameHash, AnsiNameEqual> unknownSeen;
            unknownSeen.reserve(section.keys.size());
            std::vector<std::size_t> read;
            for (std::size_t i = section.keys.size(); i-- > 0;) {
                const std::string_view name = section.keys[i].name;
                bool first = false;
                if (const SkinKey* key = known->key(name)) {
                    first = !knownSeen[std::size_t(key - known->keys.data())];
                    knownSeen[std::size_t(key - known->keys.data())] = true;
                } else {
                    first = unknownSeen.insert(name).second;
                }
                if (first) read.push_back(i);
            }
            for (auto at = read.rbegin(); at != read.rend(); ++at) {
                const SkinReader::KeyLine& line = section.keys[*at];
                const SkinKey* key = known->key(line.name);
                if (!key) {
                    if (++unknownKeys > MostOfAKind) continue;
                    const std::string name = Shortened(line.name);
                    const std::string_view nearest = Nearest(line.name, keyNames);
                    add(Severity::Warning, known->name, name,
                        "Nieznany klucz " + Quoted(name) +
                            (nearest.empty() ? std::string(": program go pomija.")
                                             : "; może chodzi o " + Quoted(nearest) + "?"));
                    continue;
                }
                value(*known, *key, line.value);
            }
        }
        if (unknownKeys > MostOfAKind) {
            const std::size_t more = unknownKeys - MostOfAKind;
            add(Severity::Warning, {}, {},
                "Jeszcze " + Counted(more, "nieznany klucz", "nieznane klucze", "nieznanych kluczy") +
                    (more == 1 ? ": program go pomija." : ": program je pomija."));
        }
        if (unknownSections > MostOfAKind) {
            const std::size_t more = unknownSections - MostOfAKind;
            add(Severity::Warning, {}, {},
                "Jeszcze " + Counted(more, "nieznana sekcja", "nieznane sekcje", "nieznanych sekcji") +
                    (more == 1 ? ": program ją pomija." : ": program je pomija."));
        }
    }

    void value(const SkinSection& section, const SkinKey& key, std::string_view text)
    {
        // Only a short value is quoted back; pictures never are.
        const auto shown = [text] { return Shortened(text); };
        switch (key.kind) {
        case KeyKind::Integer:
        case KeyKind::Flag: {
            const auto number = ParseInteger(text);
            if (!number) {
                add(Severity::Warning, section.name, key.name,
                    Quoted(shown()) + " nie jest liczbą: zostanie użyta wartość domyślna " +
                        std::to_string(key.defaultNumber) + ".");
                return;
            }
            // Font sizes have a rule of their own.
            if (key.role == KeyRole::FontSize) return;
            if (*number < key.minimum || *number > key.maximum)
                add(Severity::Warning, section.name, key.name,
                    "Wartość " + std::to_string(*number) + " jest poza zakresem " +
                        std::to_string(key.minimum) + "–" + std::to_string(key.maximum) + ".");
            return;
        }
        case KeyKind::ColourValue:
            if (!TextToColour(text))
                add(Severity::Error, section.name, key.name,
                    Quoted(shown()) + " nie jest kolorem: wczytanie skóry zatrzyma się na nim.");
            return;
        case KeyKind::Text:
        case KeyKind::Binary:
            return;
        }
    }

    void fonts()
    {
        for (const SkinSection& section : SkinSections()) {
            const SkinKey* sizeKey = section.key(KeyRole::FontSize);
            if (!sizeKey) continue;
            const SkinKey& nameKey = *section.key(KeyRole::FontName);
            const std::string_view stored = m_skin.text(section.name, nameKey.name);
            const std::string family =
                check::Latin1ToUtf8((stored.empty() ? nameKey.defaultText : stored).substr(0, 31));
            if (!stored.empty() && m_environment.fontInstalled && !m_environment.fontInstalled(family)) {
                // A font of the same letter widths lays the text out as the
                // named one would: nothing moves or gets cut.
                const std::string standIn =
                    m_environment.fontSubstitute ? m_environment.fontSubstitute(family) : std::string();
                if (standIn.empty())
                    add(Severity::Warning, section.name, nameKey.name,
                        "Czcionki " + Quoted(family) +
                            " nie ma w systemie: tekst zostanie napisany zastępczą.");
                else
                    add(Severity::Note, section.name, nameKey.name,
                        "Zamiast czcionki " + Quoted(family) + " zostanie użyta " + Quoted(standIn) +
                            " o tych samych szerokościach znaków: tekst ułoży się tak samo.");
            }

            const std::int32_t size = m_skin.integer(section.name, sizeKey->name);
            if (size < sizeKey->minimum || size > sizeKey->maximum) {
                add(Severity::Error, section.name, sizeKey->name,
                    "Czcionki o rozmiarze " + std::to_string(size) + " pt nie da się pokazać (można " +
                        std::to_string(sizeKey->minimum) + "–" + std::to_string(sizeKey->maximum) + " pt).");
                continue;
            }
            if (!m_environment.fontSizes) continue;
            const std::vector<int> offered = m_environment.fontSizes(family);
            if (offered.empty() || std::find(offered.begin(), offered.end(), size) != offered.end()) continue;
            std::string list;
            for (const int s : offered)
                list += (list.empty() ? "" : ", ") + std::to_string(s);
            add(Severity::Warning, section.name, sizeKey->name,
                "Czcionka " + Quoted(family) + " nie ma rozmiaru " + std::to_string(size) + " pt (ma " +
                    list + " pt): zostanie użyty inny.");
        }
    }

    // Errors first and notes last; then the window's section, the components
    // in catalogue order and last the sections the schema does not know.
    std::vector<Finding> sorted()
    {
        const auto rank = [](const Finding& f) {
            if (AnsiSameText(f.section, window())) return 0;
            return f.component >= 0 ? 1 + f.component : int(ComponentCount) + 1;
        };
        const auto weight = [](Severity s) {
            return s == Severity::Error ? 0 : s == Severity::Warning ? 1 : 2;
        };
        std::stable_sort(m_findings.begin(), m_findings.end(), [&](const Finding& a, const Finding& b) {
            if (a.severity != b.severity) return weight(a.severity) < weight(b.severity);
            return rank(a) < rank(b);
        });
        return std::move(m_findings);
    }

    const SkinReader& m_skin;
    const CheckEnvironment& m_environment;
    CheckPictureCache& m_cache;
    std::vector<Finding> m_findings;
};

} // namespace

std::vector<Finding> CheckSkin(const IniStore& document, const CheckEnvironment& environment,
                               CheckPictureCache* cache)
{
    // Without a cache of the caller's, one for this check alone still
    // decodes each picture once.
    CheckPictureCache local;
    CheckPictureCache& pictures = cache ? *cache : local;
    check::BeginCheck(pictures);
    const SkinReader skin(document);
    std::vector<Finding> findings = Checker(skin, environment, pictures).run();
    check::EndCheck(pictures);
    return findings;
}

} // namespace fabulor
