// Fuzz targets over what the program reads: the field reader on any text, and the whole load
// of a data folder whose six files come from one input (parts separated by "ZEL|", in the
// order zelpath, zelpara, zelprsn, zelto1, zelto2, zeljob; a missing part is a missing file).
// After loading, the board and picker geometry and a save of the job file must hold up too.
// An input starting with 'R' is a list of names, one a line ("*N:text" stands for the text N
// times, so that names grow far past the input's length): every list a save accepts must load
// back exactly as it was given, or the target stops.
#include "board/BoardRules.h"
#include "layout/BoardLayout.h"
#include "pickers/PickerGeometry.h"
#include "roster/CodePage.h"
#include "roster/FieldReader.h"
#include "roster/RosterFiles.h"

#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The start folder: an empty folder that exists, so the data folder counts as reachable and
// the loads read what the memory store holds.
QString startFolder() {
    static const QTemporaryDir folder;
    return folder.path();
}

class MemoryFileStore : public zel::FileStore {
  public:
    QHash<QString, QByteArray> files;
    std::optional<QByteArray> read(const QString& path) const override {
        const auto it = files.find(QFileInfo(path).fileName());
        if (it == files.end())
            return std::nullopt;
        return it->left(kMaxReadBytes); // as much as a load reads from disk
    }
    zel::SaveResult save(const QString& path, const QByteArray& bytes) override {
        files.insert(QFileInfo(path).fileName(), bytes);
        return zel::SaveResult::success(QFileInfo(path).fileName());
    }
    void sweepStaleTemporaries(const QStringList&) override {}
};

void fuzzFields(const QByteArray& bytes) {
    zel::FieldReader reader(zel::decodeDataFile(bytes));
    for (int i = 0; i < 64 && !reader.atEnd(); ++i) {
        switch (i % 4) {
        case 0:
            (void)reader.readText();
            break;
        case 1:
            (void)reader.readNumber();
            break;
        case 2:
            (void)reader.readInt16();
            break;
        default:
            (void)reader.readInt32();
            break;
        }
    }
}

void fuzzLoad(const QByteArray& bytes) {
    static const QString names[] = {zel::kFolderFile,    zel::kParameterFile,  zel::kPersonFile,
                                    zel::kGreenListFile, zel::kYellowListFile, zel::kJobFile};
    MemoryFileStore store;
    QList<QByteArray> parts;
    qsizetype start = 0;
    while (parts.size() < 6) {
        const qsizetype at = bytes.indexOf("ZEL|", start);
        parts << bytes.mid(start, at < 0 ? -1 : at - start);
        if (at < 0)
            break;
        start = at + 4;
    }
    for (int i = 0; i < parts.size() && i < 6; ++i)
        store.files.insert(names[i], parts[i]);

    zel::RosterState state;
    zel::RosterFiles files(store, startFolder());
    files.loadAll(state);
    files.loadAll(state); // a second load starts from what the first left

    const zel::BoardLayout layout = zel::computeBoardLayout(state);
    (void)zel::trashZoneStart(layout);
    (void)zel::personAt(layout.grid, state.personCount, QPointF(layout.windowWidth / 3, 500));
    for (zel::DutyColour colour : {zel::DutyColour::Green, zel::DutyColour::Yellow}) {
        const zel::PickerGeometry g = zel::computePickerGeometry(state, colour);
        for (int m = 1; m <= state.markerCount; ++m)
            (void)g.picturePixels(zel::dutyIndexOfCode(state.markerDuty[m]),
                                  zel::TwipScale{15, 15});
        (void)g.entryAt(1000, 1000, zel::kMaxDuties);
    }
    (void)files.saveJobFile(state, state.markerCount > 0 ? 1 : 0);
}

QStringList namesOf(const QByteArray& bytes) {
    QStringList names;
    for (const QString& line : QString::fromUtf8(bytes).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        bool counted = false;
        const int times =
            line.startsWith(u'*') && colon > 1 ? line.mid(1, colon - 1).toInt(&counted) : 0;
        if (counted && times >= 0 && times <= 100000)
            names << line.mid(colon + 1).repeated(times);
        else
            names << line;
    }
    return names;
}

void fuzzRoundTrip(const QByteArray& bytes) {
    const QStringList names = namesOf(bytes);
    MemoryFileStore store;
    zel::RosterState state;
    zel::RosterFiles files(store, startFolder());
    const bool persons = files.savePersonFile(state, names).ok;
    const bool green = files.saveDutyList(state, zel::DutyColour::Green, names).ok;
    if (!persons && !green)
        return;
    zel::RosterState loaded;
    zel::RosterFiles(store, startFolder()).loadAll(loaded);
    const auto listOf = [](const std::array<QString, zel::kSlots>& list, int count) {
        return QStringList(list.begin(), list.begin() + std::clamp(count, 0, zel::kSlots));
    };
    // Input methods' forms are stored as their code page look-alikes and read back as those.
    QStringList stored;
    for (const QString& name : names)
        stored << zel::withCodePageLookAlikes(name);
    if ((persons && listOf(loaded.personNames, loaded.personCount) != stored) ||
        (green && listOf(loaded.greenDutyNames, loaded.greenDutyCount) != stored))
        abort(); // a list was saved that does not read back as it was
}

} // namespace

// Qt's warnings about impossible file names (a NUL inside a folder path) are expected here.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.isEmpty() && bytes.front() == 'F')
        fuzzFields(bytes.mid(1));
    else if (!bytes.isEmpty() && bytes.front() == 'R')
        fuzzRoundTrip(bytes.mid(1));
    else
        fuzzLoad(bytes);
    return 0;
}
