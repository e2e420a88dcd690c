// A record file of any bytes: read within its bound, shown, and counted by its
// leading number, without a crash.
#include "rules/numbers.h"
#include "record/recordkeeper.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quorvela;
    static const QString folder =
        QDir::tempPath() + QStringLiteral("/quorvela-fuzz-%1").arg(::getpid());
    if (!QDir().mkpath(folder))
        std::abort();
    {
        QFile file(folder + u'/' + QLatin1String(store::kScoreFile));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QString text = StoreKeeper().read(folder).score;
    if (text.toLocal8Bit().size() > qsizetype(native::kRecordReadLimit) * 3 ||
        std::isnan(lenientReading(text)))
        std::abort();
    return 0;
}
