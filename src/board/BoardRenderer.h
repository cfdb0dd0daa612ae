#pragma once

#include "layout/BoardLayout.h"
#include "roster/RosterState.h"
#include "units/TwipScale.h"

#include <QImage>
#include <QRect>
#include <memory>

class QPainter;

namespace zel {

class PickerPainter;

// Draws the board as its window shows it (background, row frames, name tags and markers) from
// the roster record, onto any painter, in board pixels of the given scale. Print, PDF and PNG
// all come from here. Names and duties are drawn as text, never as pictures, so that a PDF
// keeps them searchable and sharp at any size. The buttons are not drawn: they are controls.
//
// Monochrome, for printers without colour: a white ground, name tags in a thick frame and in
// gothic, markers in a thin frame (solid for green duties, dashed for yellow ones) and in
// mincho, as the board's texts are.
class BoardRenderer {
  public:
    enum class Style { Colour, Monochrome };

    BoardRenderer(const RosterState& state, TwipScale scale);
    ~BoardRenderer();

    const BoardLayout& layout() const { return m_layout; }
    const TwipScale& scale() const { return m_scale; }
    // The board area in pixels, as large as the board's widget.
    QSize boardSize() const;
    // Where the row frames, tags and markers lie; empty for a board without them.
    QRect contentRect() const;

    // Paints with the painter's transformation. Texts keep their size against the board on a
    // device of any resolution. Each marker carries its own duty's name only.
    void paint(QPainter& painter, Style style = Style::Colour) const;
    // The whole board `factor` times its pixel size. At 1 it holds the pixels the board's
    // window shows (without its buttons).
    QImage image(int factor, Style style = Style::Colour) const;

  private:
    // `pixelExact`: markers show every pixel of their cut-out, a neighbour's name reaching into
    // it included, as the board's marker pictures do.
    void paintBoard(QPainter& painter, Style style, bool pixelExact) const;
    void paintTag(QPainter& painter, int person, Style style, double textScale) const;
    void paintMarker(QPainter& painter, int m, Style style, double textScale,
                     bool pixelExact) const;

    RosterState m_state;
    TwipScale m_scale;
    BoardLayout m_layout;
    std::unique_ptr<PickerPainter> m_green;
    std::unique_ptr<PickerPainter> m_yellow;
};

} // namespace zel
