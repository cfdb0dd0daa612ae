#pragma once

#include "pickers/PickerConfig.h"
#include "pickers/PickerGeometry.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QStringList>

class QPainter;

namespace zel {

// Draws a picker (background, border, entry frames, names) onto any painter, in pixels of
// the given scale. The shown picker and the marker pictures use this one drawing, so a
// marker shows exactly what its entry shows.
class PickerPainter {
  public:
    PickerPainter(const PickerConfig& config, const PickerGeometry& geometry, QStringList names,
                  int fontSize, TwipScale scale);

    QSize windowPixels() const;
    void paint(QPainter& painter, const QRect& clip) const;
    // The whole picker as an image at the given device pixel ratio.
    QImage render(double devicePixelRatio) const;
    // Entry k's picture, cropped from the drawing; outside the picker it is background.
    QPixmap entryPicture(int k, double devicePixelRatio) const;

  private:
    const PickerConfig& m_config;
    PickerGeometry m_geometry;
    QStringList m_names;
    QFont m_font;
    TwipScale m_scale;
};

} // namespace zel
