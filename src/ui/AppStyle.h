#pragma once

#include <QProxyStyle>

namespace zel {

// The application's style as it is, but for the menu bar's extension icon, which is loaded
// when it is first drawn instead of when the menu bar is made. The menu bar makes its
// extension button at once, and loading the style's picture files starts every image plugin
// there is; the button shows only when the menu bar is too narrow for its items.
class AppStyle : public QProxyStyle {
  public:
    // `key`: the style to look like, as QStyleFactory names it.
    explicit AppStyle(const QString& key);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace zel
