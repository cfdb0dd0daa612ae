#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace zel {

inline constexpr int kSlots = 101; // every array has slots 0 to 100
inline constexpr int kMaxPersons = 101;
inline constexpr int kMaxDuties = 101;
inline constexpr int kMaxMarkers = 100; // markers use slots 1 to 100
inline constexpr int kGreenCodeBase = 100;
inline constexpr int kTwipsPerCharacter = 300;

enum class DutyColour { Green, Yellow };

// The one program-wide roster record. Counts and indices that were 16-bit are held in
// 32-bit integers so sums and products cannot overflow; the files keep their formats.
struct RosterState {
    QString dataFolder;

    int personCount = 0;
    std::array<QString, kSlots> personNames{};

    int greenDutyCount = 0;
    std::array<QString, kSlots> greenDutyNames{};
    int yellowDutyCount = 0;
    std::array<QString, kSlots> yellowDutyNames{};
    double greenMarkerWidth = 0; // characters of the longest green name
    int yellowMarkerWidth = 0;   // characters of the longest yellow name

    int markerCount = 0; // markers are numbered 1 .. markerCount
    std::array<int, kSlots> markerDuty{};
    std::array<int, kSlots> markerPerson{};
    std::array<std::int32_t, kSlots> markerOffset{};

    std::array<int, kSlots> personMarkerWidth{};
    int maxPersonMarkerWidth = 0;

    double namesPerColumn = 0;
    int dutiesPerColumn = 0;
    double tagWidth = 0;
    int tagHeight = 0;
    int fontSize = 0;

    std::int32_t columnPitch = 0;
    int savedTop = 0;
    int savedLeft = 0;

    // Which picker is open and which caption shows; what is carried is the board's own.
    int greenPickerOpen = 0;
    int yellowPickerOpen = 0;
    int captionBlinkState = 0;

    const std::array<QString, kSlots>& dutyNames(DutyColour colour) const {
        return colour == DutyColour::Green ? greenDutyNames : yellowDutyNames;
    }
    int dutyCount(DutyColour colour) const {
        return colour == DutyColour::Green ? greenDutyCount : yellowDutyCount;
    }
    double markerWidthOf(DutyColour colour) const {
        return colour == DutyColour::Green ? greenMarkerWidth : yellowMarkerWidth;
    }

    // markerCount kept inside the arrays (markers 1 .. 100).
    int markerSlotsInUse() const;
    // Width in characters of marker m: the marker width of its colour.
    double markerWidth(int m) const;
    // Sets every running width to 0 and adds each marker's width to its person.
    void accumulatePersonWidths();
    // The same walk, setting each marker's offset to 300 x its person's running width first.
    // A marker whose person lies outside the arrays gets offset 0 and adds nothing.
    void repackOffsets(int leftOutMarker = 0);
    // The widest person row among persons 0 .. personCount - 1.
    void updateMaxPersonWidth();
};

// Length in UTF-16 code units of the longest of names 0 .. count - 1, starting from 0.
int longestNameLength(const std::array<QString, kSlots>& names, int count);

inline bool isGreenCode(int dutyCode) {
    return dutyCode >= kGreenCodeBase;
}
inline int dutyIndexOfCode(int dutyCode) {
    return isGreenCode(dutyCode) ? dutyCode - kGreenCodeBase : dutyCode;
}
inline DutyColour colourOfCode(int dutyCode) {
    return isGreenCode(dutyCode) ? DutyColour::Green : DutyColour::Yellow;
}
inline bool isPersonSlot(int person) {
    return person >= 0 && person < kSlots;
}

} // namespace zel
