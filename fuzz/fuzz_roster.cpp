// Fuzz targets over what the program reads: the field reader on any text, and the whole load
// of a data folder whose six files come from one input (parts separated by "ZEL|", in the
// order zelpath, zelpara, zelprsn, zelto1, zelto2, zeljob; a missing part is a missing file).
// After loading, the board and picker geometry and a save of the job file must hold up too.
#include "board/BoardLayout.h"
#include "board/BoardRules.h"
#include "pickers/PickerGeometry.h"
#include "roster/CodePage.h"
#include "roster/FieldReader.h"
#include "roster/RosterFiles.h"

#include <QFileInfo>
#include <QHash>

#include <cstddef>
#include <cstdint>

namespace {

class MemoryFileStore : public zel::FileStore {
public:
    QHash<QString, QByteArray> files;
    std::optional<QByteArray> read(const QString& path) const override
    {
        const auto it = files.find(QFileInfo(path).fileName());
        if (it == files.end())
            return std::nullopt;
        return *it;
    }
    zel::SaveResult save(const QString& path, const QByteArray&) override
    {
        return zel::SaveResult::success(QFileInfo(path).fileName());
    }
    void sweepStaleTemporaries(const QStringList&) override {}
};

void fuzzFields(const QByteArray& bytes)
{
    zel::FieldReader reader(zel::decodeDataFile(bytes));
    for (int i = 0; i < 64 && !reader.atEnd(); ++i) {
        switch (i % 4) {
        case 0: (void)reader.readText(); break;
        case 1: (void)reader.readNumber(); break;
        case 2: (void)reader.readInt16(); break;
        default: (void)reader.readInt32(); break;
        }
    }
}

void fuzzLoad(const QByteArray& bytes)
{
    static const QString names[] = {zel::kFolderFile,  zel::kParameterFile, zel::kPersonFile,
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
    zel::RosterFiles files(store, QStringLiteral("/nonexistent"));
    files.loadAll(state);
    files.loadAll(state); // a second load starts from what the first left

    const zel::BoardLayout layout = zel::computeBoardLayout(state);
    (void)zel::trashZoneStart(layout);
    (void)zel::personAt(layout.grid, state.personCount, QPointF(layout.windowWidth / 3, 500));
    for (zel::DutyColour colour : {zel::DutyColour::Green, zel::DutyColour::Yellow}) {
        const zel::PickerGeometry g = zel::computePickerGeometry(state, colour);
        for (int m = 1; m <= state.markerCount; ++m)
            (void)g.picturePixels(zel::dutyIndexOfCode(state.markerDuty[m]), zel::TwipScale{15, 15});
        (void)g.entryAt(1000, 1000, zel::kMaxDuties);
    }
    (void)files.saveJobFile(state, state.markerCount > 0 ? 1 : 0);
}

} // namespace

// Qt's warnings about impossible file names (a NUL inside a folder path) are expected here.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.isEmpty() && bytes.front() == 'F')
        fuzzFields(bytes.mid(1));
    else
        fuzzLoad(bytes);
    return 0;
}
