#include "programend.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstring>

namespace quorvela {

QString italianReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("lo spazio concesso sul disco è esaurito");
#endif
    case EROFS:
        return QStringLiteral("il disco è di sola lettura");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case EISDIR:
        return QStringLiteral("al posto del file c'è una cartella");
    case ELOOP:
        return QStringLiteral("al posto del file c'è un collegamento simbolico");
    case EINVAL:
        return QStringLiteral("al posto del file c'è qualcosa che non è un file normale");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura sul disco");
    case ENAMETOOLONG:
        return QStringLiteral("il percorso è troppo lungo");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    default:
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

QString FileError::message() const
{
    return QStringLiteral("Non riesco a %1 %2\n%3\n\nMotivo: %4.\n\nIl gioco termina.")
        .arg(action,
             folder ? QStringLiteral("la cartella del record")
                    : QStringLiteral("il file del record"),
             QDir::cleanPath(path), italianReason(errorNumber));
}

void QtProgramEnder::endProgram(int exitCode)
{
    exitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

} // namespace quorvela
