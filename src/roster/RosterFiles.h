#pragma once

#include "platform/FileStore.h"
#include "roster/FolderReach.h"
#include "roster/RosterState.h"
#include "roster/SaveObserver.h"

#include <QHash>
#include <QStringList>

namespace zel {

inline const QString kFolderFile = QStringLiteral("zelpath.dat");
inline const QString kPersonFile = QStringLiteral("zelprsn.dat");
inline const QString kGreenListFile = QStringLiteral("zelto1.dat");
inline const QString kYellowListFile = QStringLiteral("zelto2.dat");
inline const QString kJobFile = QStringLiteral("zeljob.dat");
inline const QString kParameterFile = QStringLiteral("zelpara.dat");

inline const QString& listFileOf(DutyColour colour) {
    return colour == DutyColour::Green ? kGreenListFile : kYellowListFile;
}

// The five display options as the parameter file holds them.
struct DisplayOptions {
    double namesPerColumn = 10;
    int dutiesPerColumn = 5;
    double tagWidth = 1000;
    int tagHeight = 300;
    int fontSize = 9;
};

// Values the board falls back to when the parameter file is missing or holds one it cannot
// use; the file itself is left as it is.
inline constexpr DisplayOptions kFallbackOptions{};

// The options the roster record holds now, and the record set to hold others.
DisplayOptions currentOptions(const RosterState& state);
void storeOptions(RosterState& state, const DisplayOptions& options);

// The six data files: where they are, how they load into the roster, and every save.
// Saves prepare their whole content first and change no state unless the write succeeded.
//
// People edit these files by hand while the board runs. Every file is remembered as it was
// last read by a load or written by a save; a save whose file has changed on disk since then
// is refused, so content the program has not read is never overwritten. The next load reads
// the change and the user can act again.
class RosterFiles {
  public:
    RosterFiles(FileStore& store, QString workingDirectory);

    // "zelpath.dat" and "zelpara.dat" live here; a relative data folder starts here too.
    const QString& workingDirectory() const { return m_workingDirectory; }
    QString workingPath(const QString& fileName) const;
    QString dataPath(const RosterState& state, const QString& fileName) const;

    // Folder file, duty lists, persons and markers, options, in this order. Missing or
    // broken parts keep the values they had, as the board has always done. Then removes what
    // saves killed long ago left beside the six files.
    void loadAll(RosterState& state);
    void loadFolderFile(RosterState& state);
    void loadDutyLists(RosterState& state);
    void loadPersonsAndMarkers(RosterState& state);
    void loadOptions(RosterState& state);

    SaveResult saveFolderFile(const QString& folder);
    SaveResult savePersonFile(const RosterState& state, const QStringList& names);
    SaveResult saveDutyList(const RosterState& state, DutyColour colour, const QStringList& names);
    // Rewrites every marker (but the left-out one) with repacked offsets. On success the
    // state takes the repacked offsets; on failure it is unchanged.
    SaveResult saveJobFile(RosterState& state, int leftOutMarker = 0);
    SaveResult clearJobFile(const RosterState& state);
    SaveResult saveParameterFile(const DisplayOptions& options);

    FileStore& store() const { return m_store; }

    // Every save that goes through is told to the observer (the undo history), with the bytes
    // the file held before. One observer at a time; none by default.
    void setObserver(SaveObserver* observer) { m_observer = observer; }
    SaveObserver* observer() const { return m_observer; }
    // Puts bytes the history kept back into a file (nothing: removes it), after the same
    // changed-since-read check as every save. The observer is not told.
    SaveResult restoreFile(const QString& path, const std::optional<QByteArray>& bytes);
    // The data folder as the last load found it. An unreachable folder loads no roster at
    // all (the board says why instead of showing old names) and takes no save.
    const FolderReport& dataFolderReport() const { return m_report; }
    FolderReport checkDataFolder(const RosterState& state) const;
    // True when any of the six files now holds other bytes than last read or written.
    bool changedSinceSeen(const RosterState& state) const;
    // The six files, for a watch.
    QStringList filePaths(const RosterState& state) const;

    // The reason a save gives when its file changed on disk since it was last seen.
    static QString changedOnDiskReason();

  private:
    std::optional<QString> readDecoded(const QString& path);
    SaveResult saveText(const QString& path, const QString& fileName, const QString& text,
                        const QString& writerError);
    void remember(const QString& path, const std::optional<QByteArray>& bytes);
    bool changedSinceSeen(const QString& path) const;

    FileStore& m_store;
    QString m_workingDirectory;
    // Size and hash of each file as last read or written; an empty entry: it was missing.
    QHash<QString, QByteArray> m_seen;
    SaveObserver* m_observer = nullptr;
    mutable FolderReach m_reach{{kPersonFile, kGreenListFile, kYellowListFile, kJobFile}};
    mutable FolderReport m_report;
};

// Content of the list files and the job file, as saved.
QString formatNameList(const QStringList& names, QString* error = nullptr);
QString formatJobFile(const RosterState& state, int leftOutMarker);

// Puts the fallback in place of any option the board cannot use.
void applyOptionFallbacks(RosterState& state);
// The folder with its trailing separator ("/" added when it ends with neither "/" nor "\").
QString withTrailingSeparator(const QString& folder);
// The folder as a path on this system: a folder file written on Windows separates with
// backslashes ("roster\"), which mean the same here. Only the path used changes; the folder
// file keeps its text as it was.
QString folderOnThisSystem(const QString& folder);

} // namespace zel
