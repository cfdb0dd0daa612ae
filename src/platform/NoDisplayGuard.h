#pragma once

#include <QString>

namespace zel {

// Without a display (no DISPLAY, one that is not there, or Wayland without Qt's plugin for it)
// Qt ends the program while the application object is made, with abort() and a core dump and an
// English hint to reinstall. While a guard lives, such an end is turned into two lines on
// stderr, Japanese and English, saying that no display could be opened, and exit status 1.
// Qt's other messages meanwhile are held and passed on when the guard ends.
class NoDisplayGuard {
  public:
    NoDisplayGuard();
    ~NoDisplayGuard();
    NoDisplayGuard(const NoDisplayGuard&) = delete;
    NoDisplayGuard& operator=(const NoDisplayGuard&) = delete;

    // The two lines, naming the display settings that were tried.
    static QString message();
};

} // namespace zel
