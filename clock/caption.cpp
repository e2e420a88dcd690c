// The window's title: the long title while shown, the time left when minimised.
#include "rules/clocktext.h"
#include "ui/tavola.h"

namespace quorvela {

void Tavola::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized)
        ShowTimeLeftInCaption();
    else
        setWindowTitle(QStringLiteral("                                                       "
                                      "Quorvela anche con diverso denominatore"));
}

void Tavola::ShowTimeLeftInCaption()
{
    // Made once, at the moment of minimising; the ticks leave it alone.
    setWindowTitle(clockTextOfSeconds(secondsLeft));
}

} // namespace quorvela
