// A new competition: the window is unloaded and loaded again, start-up included.
#include "ui/tavola.h"

namespace quorvela {

void Tavola::Next_Click()
{
    if (MsgBox(MessageBox::yesNo(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"),
                                 QStringLiteral("INIZIARE NUOVA GARA"))) == Answer::No)
        return;
    // The abandoned score is never compared with the record.
    Unload();
    showWindow();
}

} // namespace quorvela
