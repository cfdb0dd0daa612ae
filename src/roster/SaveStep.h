#pragma once

#include "roster/RosterFiles.h"

namespace zel {

// The saves made while one of these lives are one user action, named by `text` as the undo
// item shows it (「すべてのマークを消す」). Without an observer it does nothing.
class SaveStep {
  public:
    SaveStep(const RosterFiles& files, const QString& text) : m_observer(files.observer()) {
        if (m_observer)
            m_observer->stepBegun(text);
    }
    ~SaveStep() {
        if (m_observer)
            m_observer->stepEnded();
    }
    SaveStep(const SaveStep&) = delete;
    SaveStep& operator=(const SaveStep&) = delete;

  private:
    SaveObserver* m_observer;
};

} // namespace zel
