#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

namespace arx {

class Prompts;

// The pop-up palette of a drop-down colour button: the eight ring colours, a range of
// others, and "More colours…", which asks for the colour dialog. Escape or a click outside
// closes it without a pick.
class CColourPalette : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 8;
    static constexpr int Swatch = 18;
    static constexpr int Gap = 4;
    static constexpr int Margin = 8;
    static constexpr int HeadingHeight = 16;
    static constexpr int MoreHeight = 24;
    // What a point of the palette holds: a swatch index, More, or nothing.
    static constexpr int NoHit = -1;
    static constexpr int MoreHit = -2;

    explicit CColourPalette(QWidget *owner);

    // Every swatch's colour, red in the low byte; the first eight are colourIndexTable.
    static const std::vector<std::uint32_t> &colours();
    // One geometry for painting and hit-testing.
    static QRect swatchRect(int index);
    static QRect moreRect();
    static QSize paletteSize();
    static int hitAt(QPoint position);

    // The swatch drawn as the current one, if the colour is on the palette.
    void setCurrent(std::uint32_t colour) { current_ = colour; }

signals:
    void colourChosen(std::uint32_t colour);
    void moreColoursChosen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::uint32_t current_ = 0;
    int hovered_ = NoHit;
};

// A drop-down colour button of a PXL2 strip: shows the colour it holds, opens its palette
// when clicked, and tells its owner with `colourPicked(controlId)` when the operator has
// picked a colour, from the palette or from the colour dialog. `setColour` from the owner
// tells nobody.
class CColourButton : public QWidget {
    Q_OBJECT
public:
    CColourButton(Prompts &prompts, QWidget *parent = nullptr);

    // A 24-bit colour, red in the low byte; higher bits are dropped.
    void setColour(std::uint32_t colour);
    std::uint32_t colour() const { return colour_; }

    // The pop-up, once the button has been pressed; none before.
    CColourPalette *palette() const { return palette_; }
    bool isPaletteShown() const;
    // Under the button, left-aligned with it.
    QRect paletteGeometry() const;

signals:
    void colourPicked(int controlId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void pick(std::uint32_t colour);
    void askColourDialog();

    Prompts &prompts_;
    CColourPalette *palette_ = nullptr;
    std::uint32_t colour_ = 0;
    bool hovered_ = false;
};

} // namespace arx
