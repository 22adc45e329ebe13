#include "controls/ControlFonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <map>
#include <tuple>

namespace arx {

namespace {

const QStringList &arialFamilies()
{
    static const QStringList families {
        QStringLiteral("Arial"),
        QStringLiteral("Liberation Sans"),
        QStringLiteral("Nimbus Sans"),
        QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Sans CJK SC"),
    };
    return families;
}

const QStringList &unicodeFamilies()
{
    static const QStringList families {
        QStringLiteral("Arial Unicode MS"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Droid Sans Fallback"),
        QStringLiteral("DejaVu Sans"),
    };
    return families;
}

const QStringList &simSunFamilies()
{
    static const QStringList families {
        QStringLiteral("SimSun-ExtB"),
        QStringLiteral("SimSun"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("DejaVu Sans"),
    };
    return families;
}

QFont withFamilies(const QStringList &families)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Windows sizes these fonts by their character cell; Qt by the em. Scale the em until the
// cell fits.
void setCellHeight(QFont &font, int cellHeight)
{
    const int height = std::max(cellHeight, 1);
    font.setPixelSize(height);
    const qreal measured = QFontMetricsF(font).height();
    if (measured > 0)
        font.setPixelSize(std::max(1, qRound(height * height / measured)));
}

QFont makeArialPointFont(int points, int)
{
    QFont font = withFamilies(arialFamilies());
    font.setPointSize(std::max(points, 1));
    return font;
}

QFont makeArialCellFont(int cellHeight, int)
{
    QFont font = withFamilies(arialFamilies());
    setCellHeight(font, cellHeight);
    return font;
}

QFont makeUnicodeBoldFont(int points, int)
{
    QFont font = withFamilies(unicodeFamilies());
    font.setPointSize(std::max(points, 1));
    font.setBold(true);
    return font;
}

QFont makeSimSunBoldFont(int points, int)
{
    QFont font = withFamilies(simSunFamilies());
    font.setPointSize(std::max(points, 1));
    font.setBold(true);
    return font;
}

QFont makeSimSunCellFont(int cellHeight, int averageWidth)
{
    QFont font = withFamilies(simSunFamilies());
    // SimSun's cell is exactly its em; the fallbacks are sized as SimSun would be, so that
    // a list keeps the text size its owner chose.
    font.setPixelSize(std::max(cellHeight, 1));
    if (averageWidth > 0) {
        const qreal natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(qRound(100 * averageWidth / natural), 1, 4000));
    }
    return font;
}

using MakeFont = QFont (*)(int, int);

// Painting asks for its font at every paint. One QFont kept per face and size lets Qt reuse
// the font engine it resolved for it, instead of matching the families and measuring again.
// The fonts are kept for the life of the process and never destroyed: a font must not outlive
// the application object, and the process ends without them.
QFont remembered(MakeFont make, int first, int second)
{
    static auto *fonts = new std::map<std::tuple<MakeFont, int, int>, QFont>;
    const auto key = std::make_tuple(make, first, second);
    auto found = fonts->find(key);
    if (found == fonts->end())
        found = fonts->emplace(key, make(first, second)).first;
    return found->second;
}

} // namespace

QFont arialPointFont(int points)
{
    return remembered(makeArialPointFont, points, 0);
}

QFont arialCellFont(int cellHeight)
{
    return remembered(makeArialCellFont, cellHeight, 0);
}

QFont unicodeBoldFont(int points)
{
    return remembered(makeUnicodeBoldFont, points, 0);
}

QFont simSunBoldFont(int points)
{
    return remembered(makeSimSunBoldFont, points, 0);
}

QFont simSunCellFont(int cellHeight, int averageWidth)
{
    return remembered(makeSimSunCellFont, cellHeight, averageWidth);
}

} // namespace arx
