#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// Where a save of `path` has to write: a data file may be a symbolic link, or a link to a link,
// and the file at the end of the chain is the one that gets the new content. A chain that loops
// or ends nowhere has no such file: the save must fail then, never replace a link by a file.
struct LinkChain {
    QByteArray target; // the file to replace (absolute, links resolved); empty on a problem
    QString problem;   // why there is no file to write, in the user's words

    static LinkChain resolve(const QString& path);
};

} // namespace zel
