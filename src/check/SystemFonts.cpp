#include "check/SystemFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QList>

#include <fontconfig/fontconfig.h>

#include <array>
#include <memory>

namespace fabulor {
namespace {

bool IsGeneric(const QString& family)
{
    static const std::array<QString, 9> generic{
        QStringLiteral("sans-serif"), QStringLiteral("serif"),     QStringLiteral("monospace"),
        QStringLiteral("sans"),       QStringLiteral("mono"),      QStringLiteral("cursive"),
        QStringLiteral("fantasy"),    QStringLiteral("system-ui"), QStringLiteral("emoji")};
    for (const QString& name : generic)
        if (family.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

std::string MetricSubstitute(const std::string& family, const std::function<bool(const QString&)>& installed)
{
    if (family.empty()) return {};
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          FcPatternDestroy);
    if (!pattern) return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return {};
    // The metric aliases are bound "same": the families they add take the
    // binding of the one they stand for, which is strong as it was asked
    // for by name. Every looser alias (a similar design, the generic
    // families and their fallbacks) is weak, and the first weak one ends
    // the families of the same widths.
    const QString asked = QString::fromUtf8(family.data(), qsizetype(family.size()));
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (binding == FcValueBindingWeak) break;
        if (value.type != FcTypeString) continue;
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(value.u.s));
        if (name.compare(asked, Qt::CaseInsensitive) == 0 || IsGeneric(name)) continue;
        if (installed(name)) return name.toStdString();
    }
    return {};
}

CheckEnvironment SystemCheckEnvironment()
{
    CheckEnvironment environment;
    environment.fontInstalled = [](const std::string& family) {
        return QFontDatabase::hasFamily(QString::fromStdString(family));
    };
    environment.fontSubstitute = [](const std::string& family) {
        return MetricSubstitute(family, [](const QString& name) { return QFontDatabase::hasFamily(name); });
    };
    environment.fontSizes = [](const std::string& family) {
        const QString name = QString::fromStdString(family);
        std::vector<int> sizes;
        if (!QFontDatabase::hasFamily(name) || QFontDatabase::isScalable(name)) return sizes;
        for (const int size : QFontDatabase::pointSizes(name))
            sizes.push_back(size);
        return sizes;
    };
    // As the preview's labels measure themselves: one line of the text in
    // the font the skin names, at its point size.
    environment.measureText = [](const std::string& family, int points, const std::string& text) {
        QFont font(QString::fromStdString(family));
        font.setPointSize(points);
        const QFontMetrics metrics(font);
        return TextSize{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
    };
    return environment;
}

} // namespace fabulor
