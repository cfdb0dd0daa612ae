#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zel {

// The data files are in the Windows variant of Shift-JIS (0x5C is "\", 81 60 is "～").
inline constexpr char kCodePageName[] = "CP932";

// True when this Qt can convert the code page both ways.
bool codePageAvailable();

// Decodes a data file. A UTF-8 file that starts with a byte-order mark is read as UTF-8;
// everything else as the code page. A byte sequence the code page does not define, or a
// file cut off inside a two-byte character, becomes U+FFFD at that place.
QString decodeDataFile(const QByteArray& bytes);

// Linux input methods type a few characters in their JIS form (〜 U+301C, − U+2212, ...),
// which the code page lacks; it holds a character of the same look instead (～ U+FF5E, 81 60).
// The text with each of those replaced by its look-alike: what a file stores and gives back.
QString withCodePageLookAlikes(QString text);

// The first character of text the code page cannot hold, look-alikes aside, if any.
std::optional<char32_t> firstUnencodableCharacter(const QString& text);

// Encodes text in the code page, look-alikes replaced; nothing when a character cannot be held.
std::optional<QByteArray> encodeDataFile(const QString& text);

// "「〜」(U+301C)" for messages that name a character.
QString describeCharacter(char32_t ch);

} // namespace zel
