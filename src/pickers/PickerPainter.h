#pragma once

#include "pickers/PickerConfig.h"
#include "pickers/PickerGeometry.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <map>
#include <memory>
#include <set>

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
    // Draws entry k's picture onto any painter, its top left corner at `at`: the same pixels
    // as entryPicture at the painter's device pixel ratio, without the picture.
    void paintEntry(QPainter& painter, int k, QPoint at) const;

  private:
    // The dots per inch of the pictures' texts, whatever the device's.
    int pictureDpiY() const;

    const PickerConfig& m_config;
    PickerGeometry m_geometry;
    QStringList m_names;
    QFont m_font;
    TwipScale m_scale;
};

// The entry pictures of one picker, kept from one board load to the next. Drawing the names is
// most of the work of a load, and most loads follow a change of markers only: while the list,
// the sizes and the screen stay as they were, each entry is drawn once. A picture is drawn
// when first asked for; until then an entry can be drawn straight onto the board.
class EntryPictureCache {
  public:
    explicit EntryPictureCache(const PickerConfig& config) : m_config(config) {}

    // Starts a load; pictures drawn from other inputs are dropped. True when they were.
    bool beginLoad(const RosterState& state, const TwipScale& scale, double devicePixelRatio);
    // Entry k is shown by this load.
    void use(int k) { m_used.insert(k); }
    // Ends a load; pictures of entries it did not use are dropped, so the cache holds no more
    // than what the board shows.
    void endLoad();

    bool hasPicture(int k) const { return m_kept.count(k) != 0; }
    // Entry k's picture, drawn now unless drawn before.
    QPixmap picture(int k);
    // Draws entry k as its picture shows it, the picture's top left corner at `at`.
    void paint(QPainter& painter, int k, QPoint at);

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
    const PickerPainter& painter();

    const PickerConfig& m_config;
    Inputs m_inputs;
    std::unique_ptr<PickerPainter> m_painter; // made when first needed
    std::map<int, QPixmap> m_kept;
    std::set<int> m_used; // by this load
};

} // namespace zel
