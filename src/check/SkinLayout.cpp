#include "check/SkinLayout.h"

#include "check/CheckInternals.h"

#include <algorithm>

namespace fabulor {
namespace {

constexpr int MaxFontNameLength = 31; // what the editor keeps of a font name
constexpr int DefaultDrawnSize = 10;  // what the size picker puts in place of one it refuses

// The labels' size in the reader's mock-up, for when no text can be measured.
constexpr QSize PathLabelMockUp(54, 17);
constexpr QSize MessageLabelMockUp(137, 17);

} // namespace

int ComponentPage(int index)
{
    if ((index >= 6 && index <= 9) || (index >= 18 && index <= 21)) return 0; // "Sytuacje"
    if (index >= 10 && index <= 13) return 1;                                 // "Kierunki"
    if (index == 14) return 2;                                                // "Koniec"
    if (index == 15) return 3;                                                // "Przedm"
    return WindowParent;
}

std::string_view LabelSampleText(int index)
{
    switch (index) {
    case 18:
        return "Droga nr 1";
    case 19:
        return "Droga nr 2";
    case 20:
        return "Droga nr 3";
    case 21:
        return "Droga nr 4";
    case 22:
        return "Tu pojawiają się komunikaty";
    default:
        return {};
    }
}

SkinLayout BuildSkinLayout(const IniStore& document, const CheckEnvironment& environment,
                           CheckPictureCache* cache)
{
    CheckPictureCache local;
    CheckPictureCache& pictures = cache ? *cache : local;
    check::BeginCheck(pictures);
    const check::SkinReader skin(document);
    SkinLayout layout = check::LayoutOf(skin, environment, pictures);
    check::EndCheck(pictures);
    return layout;
}

namespace check {

const DecodedPicture* StoredPicture(const SkinReader& skin, CheckPictureCache& cache,
                                    std::string_view section, std::string_view key, PictureRole role,
                                    bool pixels)
{
    const auto text = skin.value(section, key);
    if (!text || text->size() < 2) return nullptr; // the document reads it as no bytes
    return &Decode(cache, *text, role, pixels);
}

const DecodedPicture* ShapingMask(const SkinReader& skin, CheckPictureCache& cache)
{
    const std::string_view window = WindowSection().name;
    if (!skin.flag(window, WindowKey(KeyRole::UseSkin).name)) return nullptr;
    const DecodedPicture* mask =
        StoredPicture(skin, cache, window, WindowKey(KeyRole::Mask).name, PictureRole::Mask);
    // A mask of no pixels reads, but leaves the window as it was.
    return mask && mask->decodes && mask->width > 0 ? mask : nullptr;
}

LabelFont EffectiveLabelFont(const SkinReader& skin, int index)
{
    const std::string_view section = SkinComponents()[std::size_t(index)].section;
    const SkinKey& nameKey = ComponentKey(index, KeyRole::FontName);
    const SkinKey& sizeKey = ComponentKey(index, KeyRole::FontSize);
    const bool laterPath = index > FirstPathLabelIndex && index < MessageLabelIndex;
    const LabelFont first = laterPath ? EffectiveLabelFont(skin, FirstPathLabelIndex) : LabelFont{};

    LabelFont font;
    const std::string_view name = skin.text(section, nameKey.name);
    if (!name.empty())
        font.family = Latin1ToUtf8(name.substr(0, MaxFontNameLength));
    else // an empty name keeps the one the label had
        font.family = laterPath ? first.family : Latin1ToUtf8(nameKey.defaultText);

    const std::int32_t size = skin.integer(section, sizeKey.name);
    if (laterPath) {
        // Its size is drawn as it is; one below 1 keeps what the first path
        // label's editors gave all four.
        font.points = size >= 1 ? size : first.points;
    } else {
        font.points = size >= sizeKey.minimum && size <= sizeKey.maximum ? size : DefaultDrawnSize;
    }
    return font;
}

SkinLayout LayoutOf(const SkinReader& skin, const CheckEnvironment& environment, CheckPictureCache& cache)
{
    // Numbers are held as the editor holds them when it loads the skin: the
    // window's size to its editors' limits, places and sizes to what a
    // widget's geometry holds (a control cannot be smaller than nothing).
    // So no edge below lies near the ends of int.
    SkinLayout layout;
    if (const DecodedPicture* mask = ShapingMask(skin, cache)) {
        layout.window = QSize(mask->width, mask->height);
    } else {
        const auto side = [&skin](KeyRole role) {
            const SkinKey& key = WindowKey(role);
            return std::clamp(skin.integer(WindowSection().name, key.name), key.minimum, key.maximum);
        };
        layout.window = QSize(side(KeyRole::Width), side(KeyRole::Height));
    }

    const auto components = SkinComponents();
    const auto place = [&](int index) {
        const std::string_view section = components[std::size_t(index)].section;
        return QPoint(PlaceableCoordinate(skin.integer(section, ComponentKey(index, KeyRole::Left).name)),
                      PlaceableCoordinate(skin.integer(section, ComponentKey(index, KeyRole::Top).name)));
    };
    const auto boxed = [&](int index) {
        const std::string_view section = components[std::size_t(index)].section;
        return QRect(
            place(index),
            QSize(PlaceableExtent(skin.integer(section, ComponentKey(index, KeyRole::Width).name)),
                  PlaceableExtent(skin.integer(section, ComponentKey(index, KeyRole::Height).name))));
    };

    // The page area: the page control inset by its client border, which
    // its editor holds to 0 to 10.
    const QRect pageControl = boxed(0);
    const SkinKey& borderKey = ComponentKey(PageControlIndex, KeyRole::Border);
    const int border = std::clamp(skin.integer(components[PageControlIndex].section, borderKey.name),
                                  borderKey.minimum, borderKey.maximum);
    layout.pageArea = pageControl.adjusted(border, border, -border, -border);

    const PictureBudgetPlan budget(skin, cache);
    for (int index = 0; index < int(ComponentCount); ++index) {
        const SkinComponent& component = components[std::size_t(index)];
        QRect box;
        if (component.has(SizeGroup)) {
            box = boxed(index);
        } else if (!component.builtInPicture.empty()) {
            const std::string_view mouseOut = ComponentKey(index, KeyRole::MouseOut).name;
            const DecodedPicture* picture =
                StoredPicture(skin, cache, component.section, mouseOut, PictureRole::Jpeg);
            const QSize size = picture && picture->decodes && budget.fits(component.section, mouseOut)
                                   ? QSize(picture->width, picture->height)
                                   : BuiltInPictureSize(component.builtInPicture);
            box = QRect(place(index), size);
        } else {
            QSize size = index == MessageLabelIndex ? MessageLabelMockUp : PathLabelMockUp;
            if (environment.measureText) {
                const LabelFont font = EffectiveLabelFont(skin, index);
                const TextSize measured =
                    environment.measureText(font.family, font.points, std::string(LabelSampleText(index)));
                size = QSize(PlaceableExtent(measured.width), PlaceableExtent(measured.height));
            }
            box = QRect(place(index), size);
        }
        if (ComponentPage(index) != WindowParent) box.translate(layout.pageArea.topLeft());
        layout.boxes[std::size_t(index)] = box;
    }
    return layout;
}

} // namespace check
} // namespace fabulor
