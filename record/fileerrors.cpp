// What the player reads when a record file cannot be used: the only Italian
// words about files, made here for every part of the game that meets one.
#include "recordfiles.h"

#include "recordkeeper.h"

#include <QDir>

#include <cerrno>

namespace quorvela {

namespace {

QString verb(FileAction action)
{
    switch (action) {
    case FileAction::Open:
        return QStringLiteral("aprire");
    case FileAction::Create:
        return QStringLiteral("creare");
    case FileAction::Read:
        return QStringLiteral("leggere");
    case FileAction::Write:
        return QStringLiteral("scrivere");
    case FileAction::Use:
        return QStringLiteral("usare");
    case FileAction::Find:
        return QStringLiteral("trovare");
    }
    return QString();
}

} // namespace

QString italianReason(const FileError &error)
{
    switch (error.error.number) {
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
    case native::kBusy:
        return QStringLiteral("il file è usato in questo momento da un altro programma");
    case ENAMETOOLONG:
        return QStringLiteral("il percorso è troppo lungo");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    default:
        // The system's own words, in the user's language, with its own code.
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(error.error.system)
            .arg(error.systemMessage());
    }
}

QString fileErrorMessage(const FileError &error)
{
    return QStringLiteral("Non riesco a %1 %2\n%3\n\nMotivo: %4.\n\nIl gioco termina.")
        .arg(verb(error.action),
             error.helper   ? QStringLiteral("il programma che scrive il record")
             : error.folder ? QStringLiteral("la cartella del record")
                            : QStringLiteral("il file del record"),
             QDir::cleanPath(error.path), italianReason(error));
}

QString notSavedMessage(Saving saving)
{
    const QString beaten = QStringLiteral("Hai battuto il record, ma non ho potuto registrarlo: ");
    switch (saving) {
    case Saving::Refused:
        return beaten +
               QStringLiteral(
                   "il programma che scrive il record non accetta questa copia del gioco.");
    case Saving::NotKept:
        return beaten +
               QStringLiteral("questo browser non lascia conservare dati a questa pagina.");
    default:
        // Another copy saving, or another program or a hung disk: only that the
        // record is busy is sure.
        return beaten + QStringLiteral("in questo momento il record è occupato.");
    }
}

} // namespace quorvela
