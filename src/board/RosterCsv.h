#pragma once

#include "roster/RosterState.h"

#include <QByteArray>
#include <QString>

namespace zel {

// The roster as a table for spreadsheets: a heading line (名前, 当番1, 当番2, ...), then one line
// per person with the name and the person's duties in the order the board shows them, left to
// right, each marked 「緑:」 or 「黄:」. Every line has as many fields as the heading. UTF-8 with a
// byte-order mark, CR LF after every line, fields quoted as RFC 4180 says.
QByteArray rosterCsv(const RosterState& state);

// One field: in double quotes (inner ones doubled) when it holds a comma, a quote or a line
// break, starts or ends with a blank, or is an empty name; as it is otherwise.
QString csvField(const QString& text, bool quoteEmpty = false);

} // namespace zel
