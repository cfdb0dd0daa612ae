#include "support/FakePlatform.h"

#include <QIODevice>

namespace zel::test {

qint64 FailingFileStore::writeBytes(QIODevice& device, const QByteArray& bytes) {
    if (failAfterBytes < 0 || failAfterBytes >= bytes.size())
        return FileStore::writeBytes(device, bytes);
    return device.write(bytes.left(failAfterBytes));
}

} // namespace zel::test
