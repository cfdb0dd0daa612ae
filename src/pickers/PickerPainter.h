#pragma once

#include "pickers/PickerConfig.h"
#include "pickers/PickerGeometry.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <map>
#include <memory>

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
    // How the names are drawn.
    struct Text {
        // Scales their point size, for a device whose dots per inch are not the screen's (a
        // printer) but which must show them as large against the frames.
        double scale = 1.0;
        // From 0: only this entry's name. A clip hides text from the eye but not from a PDF's
        // search, so a marker drawn there must not carry its neighbours' names.
        int onlyEntry = -1;
    };
    void paint(QPainter& painter, const QRect& clip, const Text& text) const;
    void paint(QPainter& painter, const QRect& clip) const { paint(painter, clip, Text{}); }
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

// The entry pictures of one picker, kept from one board load to the next. Drawing the names is
// most of the work of a load, and most loads follow a change of markers only: while the list,
// the sizes and the screen stay as they were, each entry is drawn once.
class EntryPictureCache {
  public:
    explicit EntryPictureCache(const PickerConfig& config) : m_config(config) {}

    // Starts a load; pictures drawn from other inputs are dropped.
    void beginLoad(const RosterState& state, const TwipScale& scale, double devicePixelRatio);
    // Entry k's picture, drawn now unless an earlier load drew it.
    QPixmap picture(int k);
    // Ends a load; pictures it did not use are dropped, so the cache holds what the board shows.
    void endLoad();

  private:
    struct Inputs {
        PickerGeometry geometry;
        QStringList names;
        int fontSize = 0;
        double tx = 0;
        double ty = 0;
        double devicePixelRatio = 0;
        bool operator==(const Inputs&) const = default;
    };
    const PickerConfig& m_config;
    Inputs m_inputs;
    std::unique_ptr<PickerPainter> m_painter; // made for the first picture not kept
    std::map<int, QPixmap> m_kept;            // drawn by earlier loads
    std::map<int, QPixmap> m_used;            // used by this load
};

} // namespace zel
