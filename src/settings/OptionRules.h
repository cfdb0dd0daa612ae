#pragma once

#include "roster/RosterFiles.h"

#include <QString>
#include <array>
#include <optional>

namespace zel {

// The five rows of the options dialog, top to bottom.
enum class OptionField { NamesPerColumn, DutiesPerColumn, TagWidth, TagHeight, FontSize };
inline constexpr int kOptionCount = 5;

struct OptionRow {
    OptionField field;
    const char16_t* caption;
    int barMinimum;
    int barMaximum;
    int step;           // both the arrow step and the page step
    bool keepsFraction; // stored as a real; the others are rounded half to even
};

inline constexpr std::array<OptionRow, kOptionCount> kOptionRows{{
    {OptionField::NamesPerColumn, u"名前の縦並び数", 3, 30, 1, true},
    {OptionField::DutiesPerColumn, u"当番名の縦並び数", 1, 10, 1, false},
    {OptionField::TagWidth, u"名前札の幅", 500, 2000, 100, true},
    {OptionField::TagHeight, u"名前札の高さ", 100, 600, 100, false},
    {OptionField::FontSize, u"フォントのサイズ", 8, 16, 1, false},
}};

// The number at the beginning of a box: blanks anywhere are skipped, then an optional sign,
// digits with an optional fraction and an optional exponent, up to the first character that
// cannot continue the number. "7cm" is 7; empty or letters only is 0.
double readLeadingNumber(const QString& text);

// A value as a box shows it: no leading blank, no fraction when whole ("12", "12.5").
QString formatBoxNumber(double value);

// Where a scroll bar stands for a value: rounded half to even and kept inside the bar.
int barPosition(const OptionRow& row, double value);

double optionValue(const DisplayOptions& options, OptionField field);

// A box whose number the board cannot use.
struct OptionProblem {
    int row; // 0 .. 4, top to bottom
    QString message;
};

struct OptionsReading {
    DisplayOptions options;
    std::optional<OptionProblem> problem; // the first unusable box, top to bottom
};

// Reads the five boxes as "書込み" stores them: fractions kept for the names per column and
// the tag width, the other three rounded half to even; every value checked for use.
OptionsReading readOptionBoxes(const std::array<QString, kOptionCount>& texts);

} // namespace zel
