// The helpers every artwork generator draws with: the dark theme's colours, a transparent
// canvas, the rounded panel of the buttons and the loop that writes the images out.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include <functional>
#include <span>

namespace artwork {

// One dark theme: slate surfaces, a teal accent, cyan values and a green light for "on".
namespace theme {
inline const QColor SurfaceTop(0x2a, 0x33, 0x44);
inline const QColor SurfaceBottom(0x19, 0x20, 0x2d);
inline const QColor SurfaceBorder(0x3b, 0x47, 0x5b);
inline const QColor HoverTop(0x33, 0x40, 0x56);
inline const QColor HoverBottom(0x20, 0x29, 0x3a);
inline const QColor OnTop(0x0d, 0x5e, 0x66);
inline const QColor OnBottom(0x08, 0x3c, 0x42);
inline const QColor Accent(0x19, 0xc6, 0xcc);
inline const QColor AccentBorder(0x15, 0xa4, 0xab);
inline const QColor Muted(0x8a, 0x97, 0xab);
inline const QColor Ink(0x0b, 0x0f, 0x16);
inline const QColor LedOff(0x4a, 0x55, 0x68);
inline const QColor LedOn(0x3c, 0xe6, 0x82);
inline const QColor Cyan(0, 229, 255);
inline const QColor Rim(74, 78, 86);
inline const QColor Glyph(138, 146, 158);
} // namespace theme

// The hints most generators paint with; some leave text or pixmap smoothing out, and their
// images were drawn that way, so they pass their own set.
inline constexpr QPainter::RenderHints AllHints
    = QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;

QImage canvas(int width, int height);
void antialiased(QPainter &painter, QPainter::RenderHints hints = AllHints);
QLinearGradient vertical(const QRectF &area, const QColor &top, const QColor &bottom);
QFont sans(qreal pixels, int weight = QFont::Normal, qreal spacing = 0);

// A rounded panel with a one-pixel border and a faint highlight along its top edge, as
// bright as `sheenAlpha`.
void panel(QPainter &painter, const QRectF &area, qreal radius, const QColor &top,
    const QColor &bottom, const QColor &border, int sheenAlpha = 26);

struct Artwork {
    const char *folder; // "png" or "bmp"
    int id;
    std::function<QImage()> draw;
};

// How an image is written: as painted (premultiplied), or converted to straight alpha
// first. The committed images of each generator were written one way, so it keeps to it.
enum class Alpha { AsPainted, Straight };

// Whether the images are drawn under an (offscreen) application: text needs one, but it
// also changes gradients, and some images were drawn without one.
enum class Application { Offscreen, None };

// A generator's main: writes each artwork to RESOURCE_DIR/<folder>/<id>.png, RESOURCE_DIR
// being the first argument or else the source tree's, and prints its path; stops at the
// first that cannot be written. Returns the exit status.
int generate(int argc, char *argv[], std::span<const Artwork> artworks, Alpha alpha,
    Application application = Application::Offscreen);

} // namespace artwork
