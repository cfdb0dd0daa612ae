#include "roster/RosterFiles.h"

#include "platform/SaveLock.h"
#include "roster/CodePage.h"
#include "roster/DataFileCheck.h"
#include "roster/FieldReader.h"
#include "roster/MarkerOverlap.h"
#include "roster/PrintWriter.h"
#include "units/Numbers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zel {

RosterFiles::RosterFiles(FileStore& store, QString workingDirectory)
    : m_store(store), m_workingDirectory(std::move(workingDirectory)) {}

QString RosterFiles::workingPath(const QString& fileName) const {
    return QDir(m_workingDirectory).filePath(fileName);
}

QString RosterFiles::dataPath(const RosterState& state, const QString& fileName) const {
    // The folder carries its own separator; the name follows it directly.
    return QDir(m_workingDirectory).filePath(folderOnThisSystem(state.dataFolder) + fileName);
}

QString withTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

QString folderOnThisSystem(const QString& folder) {
    QString path = folder;
    return path.replace(u'\\', u'/');
}

namespace {
QString seenKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Size and SHA-256 of a file's bytes; empty for a missing file.
QByteArray fingerprint(const std::optional<QByteArray>& bytes) {
    if (!bytes)
        return {};
    return QByteArray::number(bytes->size()) + ':' +
           QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256);
}
} // namespace

void RosterFiles::remember(const QString& path, const std::optional<QByteArray>& bytes) {
    m_seen.insert(seenKey(path), fingerprint(bytes));
}

bool RosterFiles::changedSinceSeen(const QString& path) const {
    const auto seen = m_seen.constFind(seenKey(path));
    if (seen == m_seen.constEnd())
        return false; // never read: nothing the user could have missed
    const auto now = m_store.read(path);
    // A vanished folder is reported by the save itself, which names the folder.
    if (!now && !QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return false;
    return fingerprint(now) != *seen;
}

QString RosterFiles::changedOnDiskReason() {
    return QStringLiteral("読み込んだ後に、ほかのプログラムで変更されています。その変更を消さない"
                          "よう、保存しませんでした。\nボードに表示される最新の内容を確かめてから、"
                          "もう一度操作してください。");
}

std::optional<QString> RosterFiles::readDecoded(const QString& path) {
    const auto bytes = m_store.read(path);
    remember(path, bytes);
    if (!bytes)
        return std::nullopt;
    return decodeDataFile(*bytes);
}

namespace {
// The data folder with its separator: a data file's path without the file's name.
QString folderPathOf(const RosterFiles& files, const RosterState& state) {
    const QString path = files.dataPath(state, kJobFile);
    return path.left(path.size() - kJobFile.size());
}
QString folderShownAs(const RosterFiles& files, const RosterState& state) {
    return QDir::cleanPath(QFileInfo(folderPathOf(files, state)).absoluteFilePath());
}
} // namespace

FolderReport RosterFiles::checkDataFolder(const RosterState& state) const {
    return m_reach.forLoad(folderPathOf(*this, state), folderShownAs(*this, state));
}

QStringList RosterFiles::filePaths(const RosterState& state) const {
    return {workingPath(kFolderFile),         workingPath(kParameterFile),
            dataPath(state, kPersonFile),     dataPath(state, kGreenListFile),
            dataPath(state, kYellowListFile), dataPath(state, kJobFile)};
}

bool RosterFiles::changedSinceSeen(const RosterState& state) const {
    const QStringList paths = filePaths(state);
    return std::any_of(paths.begin(), paths.end(), [this](const QString& path) {
        const auto seen = m_seen.constFind(seenKey(path));
        return seen == m_seen.constEnd() || fingerprint(m_store.read(path)) != *seen;
    });
}

void RosterFiles::loadAll(RosterState& state) {
    loadFolderFile(state);
    m_report = checkDataFolder(state);
    if (m_report.reachable()) {
        loadDutyLists(state);
        loadPersonsAndMarkers(state);
        m_reach.remember(folderPathOf(*this, state));
    } else {
        state.personCount = state.markerCount = 0;
        state.greenDutyCount = state.yellowDutyCount = 0;
        state.greenMarkerWidth = state.yellowMarkerWidth = 0;
        state.accumulatePersonWidths();
        state.updateMaxPersonWidth();
    }
    loadOptions(state);
    applyOptionFallbacks(state);
    m_store.sweepStaleTemporaries(dataFilePaths(*this, state));
}

void RosterFiles::loadFolderFile(RosterState& state) {
    const auto text = readDecoded(workingPath(kFolderFile));
    if (!text)
        return;
    FieldReader reader(*text);
    if (const auto folder = reader.readText())
        state.dataFolder = withTrailingSeparator(*folder);
}

namespace {
// Reads a count and that many names. A missing count or name keeps what the slot held.
void readNameList(FieldReader& reader, int& count, std::array<QString, kSlots>& names,
                  int maxCount) {
    if (const auto read = reader.readInt16())
        count = std::clamp(*read, 0, maxCount);
    for (int k = 0; k < count; ++k) {
        if (const auto name = reader.readText())
            names[k] = *name;
    }
}
} // namespace

void RosterFiles::loadDutyLists(RosterState& state) {
    if (const auto text = readDecoded(dataPath(state, kGreenListFile))) {
        FieldReader reader(*text);
        readNameList(reader, state.greenDutyCount, state.greenDutyNames, kMaxDuties);
    }
    state.greenMarkerWidth = longestNameLength(state.greenDutyNames, state.greenDutyCount);
    if (const auto text = readDecoded(dataPath(state, kYellowListFile))) {
        FieldReader reader(*text);
        readNameList(reader, state.yellowDutyCount, state.yellowDutyNames, kMaxDuties);
    }
    state.yellowMarkerWidth = longestNameLength(state.yellowDutyNames, state.yellowDutyCount);
}

void RosterFiles::loadPersonsAndMarkers(RosterState& state) {
    if (const auto text = readDecoded(dataPath(state, kPersonFile))) {
        FieldReader reader(*text);
        readNameList(reader, state.personCount, state.personNames, kMaxPersons);
    }

    state.markerCount = 0;
    if (const auto text = readDecoded(dataPath(state, kJobFile))) {
        FieldReader reader(*text);
        const int announced = std::clamp(reader.readInt16().value_or(0), 0, kMaxMarkers);
        // Only complete records count: a short file must not invent markers.
        for (int m = 1; m <= announced; ++m) {
            const auto duty = reader.readInt16();
            const auto person = reader.readInt16();
            const auto offset = reader.readInt32();
            if (!duty || !person || !offset)
                break;
            state.markerDuty[m] = *duty;
            state.markerPerson[m] = *person;
            state.markerOffset[m] = *offset;
            state.markerCount = m;
        }
    }
    repackOverlappingRows(state);
    state.accumulatePersonWidths();
    state.updateMaxPersonWidth();
}

void RosterFiles::loadOptions(RosterState& state) {
    state.namesPerColumn = kFallbackOptions.namesPerColumn;
    state.dutiesPerColumn = kFallbackOptions.dutiesPerColumn;
    const auto text = readDecoded(workingPath(kParameterFile));
    if (!text)
        return;
    FieldReader reader(*text);
    if (const auto v = reader.readNumber())
        state.namesPerColumn = *v;
    if (const auto v = reader.readInt16())
        state.dutiesPerColumn = *v;
    if (const auto v = reader.readNumber())
        state.tagWidth = *v;
    if (const auto v = reader.readInt16())
        state.tagHeight = *v;
    if (const auto v = reader.readInt16())
        state.fontSize = *v;
}

void applyOptionFallbacks(RosterState& state) {
    if (!(roundHalfEven(state.namesPerColumn) >= 1) || state.namesPerColumn > 32767)
        state.namesPerColumn = kFallbackOptions.namesPerColumn;
    if (state.dutiesPerColumn < 1)
        state.dutiesPerColumn = kFallbackOptions.dutiesPerColumn;
    if (!(state.tagWidth > 0) || state.tagWidth > 32767)
        state.tagWidth = kFallbackOptions.tagWidth;
    if (state.tagHeight < 1)
        state.tagHeight = kFallbackOptions.tagHeight;
    if (state.fontSize < 1)
        state.fontSize = kFallbackOptions.fontSize;
}

QString formatNameList(const QStringList& names, QString* error) {
    PrintWriter writer;
    writer.number(names.size());
    for (const QString& name : names)
        writer.text(name);
    if (error)
        *error = writer.error();
    return writer.contents();
}

QString formatJobFile(const RosterState& state, int leftOutMarker) {
    PrintWriter writer;
    const int markers = state.markerSlotsInUse();
    const bool leavesOneOut = leftOutMarker >= 1 && leftOutMarker <= markers;
    writer.number(markers - (leavesOneOut ? 1 : 0));
    for (int m = 1; m <= markers; ++m) {
        if (m == leftOutMarker)
            continue;
        writer.markerRecord(state.markerDuty[m], state.markerPerson[m], state.markerOffset[m]);
    }
    return writer.contents();
}

SaveResult RosterFiles::saveText(const QString& path, const QString& fileName, const QString& text,
                                 const QString& writerError) {
    // A failed save says what is left: the old file, or none when it or its folder is gone.
    const auto failed = [&](SaveResult result) {
        result.fileRemains = QFileInfo::exists(path);
        return result;
    };
    if (!writerError.isEmpty())
        return failed(SaveResult::failure(fileName, writerError));
    const auto bytes = encodeDataFile(text);
    if (!bytes)
        return failed(SaveResult::failure(
            fileName, QStringLiteral("Shift-JIS で保存できない文字があります。")));
    // A load reads no more than this: what it cut off would be lost.
    if (bytes->size() > FileStore::kMaxReadBytes)
        return failed(SaveResult::failure(
            fileName, QStringLiteral("ファイルが %1 MB を超えてしまうため、保存できません。")
                          .arg(FileStore::kMaxReadBytes / (1024 * 1024))));
    const QString folder = QFileInfo(path).absolutePath();
    if (fileName != kFolderFile && fileName != kParameterFile) {
        const QString prefix = path.left(path.size() - fileName.size());
        const FolderReport report =
            m_reach.forSave(prefix, QDir::cleanPath(QFileInfo(prefix).absoluteFilePath()));
        // A folder that is not there or is a file: the store says so as it always has.
        if (report.kind == FolderReport::Kind::Gone ||
            report.kind == FolderReport::Kind::Unreadable)
            return failed(SaveResult::failure(fileName, report.line()));
    }
    // From the check to the rename no other program saves into this folder.
    SaveLock lock(folder);
    if (lock.acquire() == SaveLock::Outcome::Busy)
        return failed(SaveResult::failure(fileName, SaveLock::busyReason()));
    if (changedSinceSeen(path))
        return failed(SaveResult::failure(fileName, changedOnDiskReason()));
    const auto before = m_observer ? m_store.read(path) : std::nullopt;
    SaveResult result = m_store.save(path, *bytes);
    if (!result.ok)
        return failed(result);
    remember(path, *bytes);
    if (m_observer)
        m_observer->fileSaved({seenKey(path), before, *bytes});
    return result;
}

SaveResult RosterFiles::restoreFile(const QString& path, const std::optional<QByteArray>& bytes) {
    const QString fileName = QFileInfo(path).fileName();
    if (changedSinceSeen(path))
        return SaveResult::failure(fileName, changedOnDiskReason());
    SaveResult result = bytes ? m_store.save(path, *bytes) : m_store.remove(path);
    if (result.ok)
        remember(path, bytes);
    return result;
}

SaveResult RosterFiles::saveFolderFile(const QString& folder) {
    PrintWriter writer;
    writer.text(folder);
    return saveText(workingPath(kFolderFile), kFolderFile, writer.contents(), writer.error());
}

SaveResult RosterFiles::savePersonFile(const RosterState& state, const QStringList& names) {
    if (names.size() > kMaxPersons)
        return SaveResult::failure(kPersonFile,
                                   QStringLiteral("名前は %1 人までです。").arg(kMaxPersons));
    QString error;
    const QString text = formatNameList(names, &error);
    return saveText(dataPath(state, kPersonFile), kPersonFile, text, error);
}

SaveResult RosterFiles::saveDutyList(const RosterState& state, DutyColour colour,
                                     const QStringList& names) {
    const QString& fileName = listFileOf(colour);
    if (names.size() > kMaxDuties)
        return SaveResult::failure(fileName,
                                   QStringLiteral("当番は %1 個までです。").arg(kMaxDuties));
    QString error;
    const QString text = formatNameList(names, &error);
    return saveText(dataPath(state, fileName), fileName, text, error);
}

SaveResult RosterFiles::saveJobFile(RosterState& state, int leftOutMarker) {
    RosterState repacked = state;
    repacked.repackOffsets(leftOutMarker);
    const SaveResult result =
        saveText(dataPath(state, kJobFile), kJobFile, formatJobFile(repacked, leftOutMarker), {});
    if (result.ok) {
        state.markerOffset = repacked.markerOffset;
        state.personMarkerWidth = repacked.personMarkerWidth;
    }
    return result;
}

SaveResult RosterFiles::clearJobFile(const RosterState& state) {
    PrintWriter writer;
    writer.number(0);
    return saveText(dataPath(state, kJobFile), kJobFile, writer.contents(), {});
}

SaveResult RosterFiles::saveParameterFile(const DisplayOptions& options) {
    PrintWriter writer;
    writer.number(options.namesPerColumn);
    writer.number(options.dutiesPerColumn);
    writer.number(options.tagWidth);
    writer.number(options.tagHeight);
    writer.number(options.fontSize);
    return saveText(workingPath(kParameterFile), kParameterFile, writer.contents(), {});
}

DisplayOptions currentOptions(const RosterState& state) {
    return {state.namesPerColumn, state.dutiesPerColumn, state.tagWidth, state.tagHeight,
            state.fontSize};
}

void storeOptions(RosterState& state, const DisplayOptions& options) {
    state.namesPerColumn = options.namesPerColumn;
    state.dutiesPerColumn = options.dutiesPerColumn;
    state.tagWidth = options.tagWidth;
    state.tagHeight = options.tagHeight;
    state.fontSize = options.fontSize;
}

} // namespace zel
