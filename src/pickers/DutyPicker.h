#pragma once

#include "pickers/PickerPainter.h"

#include <QWidget>
#include <memory>

namespace zel {

// A borderless popup under the main window that shows one duty list as a grid. It does
// not take the focus when it opens; a press on an entry reports the entry.
class DutyPicker : public QWidget {
    Q_OBJECT
  public:
    explicit DutyPicker(const PickerConfig& config, QWidget* parent = nullptr);

    // Builds from the current state and shows with the top-left corner at `topLeft`.
    void open(const RosterState& state, const TwipScale& scale, QPoint topLeft);
    const PickerConfig& config() const { return m_config; }
    const PickerGeometry& geometry() const { return m_geometry; }

  signals:
    void entryPressed(int k);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    const PickerConfig& m_config;
    PickerGeometry m_geometry;
    TwipScale m_scale;
    std::unique_ptr<PickerPainter> m_painter;
};

// Builds the painter of one colour's picker from the state.
std::unique_ptr<PickerPainter> makePickerPainter(const PickerConfig& config,
                                                 const RosterState& state, const TwipScale& scale);

} // namespace zel
