// A record file of any bytes: read within its bound, shown, and counted by its
// leading number, without a crash.
#include "rules/numbers.h"
#include "platform/textfiles.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quorvela;
    static const QString path =
        QDir::tempPath() + QStringLiteral("/quorvela-fuzz-%1.txt").arg(::getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    TextFiles files;
    const std::int16_t number = files.freeFile();
    files.openForInput(number, path);
    const QString text = files.readAll(number);
    files.close(number);
    if (text.toLocal8Bit().size() > TextFiles::kReadLimit * 3 || std::isnan(lenientReading(text)))
        std::abort();
    return 0;
}
