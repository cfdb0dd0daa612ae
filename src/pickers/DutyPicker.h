#pragma once

#include "pickers/PickerPainter.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace zel {

// A borderless popup under the main window that shows one duty list as a grid. It does
// not take the focus when it opens; a press on an entry reports the entry.
class DutyPicker : public QWidget {
    Q_OBJECT
  public:
    explicit DutyPicker(const PickerConfig& config, QWidget* parent = nullptr);

    // Builds from the current state and shows with the top-left corner at `topLeft`.
    void open(const RosterState& state, const TwipScale& scale, QPoint topLeft);
    // The same, with the top-left corner chosen for the window's size in pixels.
    void open(const RosterState& state, const TwipScale& scale,
              const std::function<QPoint(QSize)>& place);
    const PickerConfig& config() const { return m_config; }
    const PickerGeometry& geometry() const { return m_geometry; }

    // The entries a press or a key can pick, their duty names and places in pixels.
    int entryCount() const;
    QString entryName(int k) const { return m_names.value(k); }
    QRect entryRect(int k) const;
    // The entry the keyboard stands on, drawn with a focus frame; nothing while the pointer
    // is used.
    std::optional<int> focusedEntry() const { return m_focused; }
    void setFocusedEntry(std::optional<int> k);

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
    QStringList m_names;
    std::optional<int> m_focused;
};

// Builds the painter of one colour's picker from the state.
std::unique_ptr<PickerPainter> makePickerPainter(const PickerConfig& config,
                                                 const RosterState& state, const TwipScale& scale);

} // namespace zel
