#include "controls/ControlFonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

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

} // namespace

QFont arialPointFont(int points)
{
    QFont font = withFamilies(arialFamilies());
    font.setPointSize(std::max(points, 1));
    return font;
}

QFont arialCellFont(int cellHeight)
{
    QFont font = withFamilies(arialFamilies());
    setCellHeight(font, cellHeight);
    return font;
}

QFont unicodeBoldFont(int points)
{
    QFont font = withFamilies(unicodeFamilies());
    font.setPointSize(std::max(points, 1));
    font.setBold(true);
    return font;
}

QFont simSunBoldFont(int points)
{
    QFont font = withFamilies(simSunFamilies());
    font.setPointSize(std::max(points, 1));
    font.setBold(true);
    return font;
}

QFont simSunCellFont(int cellHeight, int averageWidth)
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

} // namespace arx
