#include "check/SystemFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QList>

namespace fabulor {

CheckEnvironment SystemCheckEnvironment()
{
    CheckEnvironment environment;
    environment.fontInstalled = [](const std::string& family) {
        return QFontDatabase::hasFamily(QString::fromStdString(family));
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
