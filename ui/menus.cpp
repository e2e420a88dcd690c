// The menu bar of Tavola, and the help message.
#include "controls.h"
#include "tavola.h"

#include <QMenuBar>
#include <QShortcut>

namespace quorvela {

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Information items: choosing one changes nothing.
void addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
}

} // namespace

void Tavola::createMenus()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    setMenuBar(bar);
    ui->menuBar = bar;
    // The bar is part of the window's fixed layout: in the game's own font all
    // six menus fit its width whatever font size the desktop uses. The
    // drop-downs and the dialogs follow the desktop.
    bar->setFont(designFont(Family::MsSansSerif, 9));

    // F10 opens the menus, as on the desktops pupils know; captions have no access keys.
    auto *menus = new QShortcut(QKeySequence(Qt::Key_F10), ui->client);
    connect(menus, &QShortcut::activated, this, [this] {
        QMenuBar *bar = ui->menuBar;
        bar->setFocus(Qt::ShortcutFocusReason);
        bar->setActiveAction(bar->actions().value(0));
    });

    QMenu *credits = addMenu(bar, "Ciao", QStringLiteral("Autori: il gruppo Quorvela"));
    addItem(credits, "Tmer",
            QStringLiteral("Nessun indirizzo postale: scrivici con una segnalazione"));

    QAction *next = bar->addAction(QStringLiteral("Nuova gara"));
    next->setObjectName(QStringLiteral("Next"));
    // Queued: a new competition destroys this very menu bar.
    connect(
        next, &QAction::triggered, this, [this] { dispatch([this] { Next_Click(); }); },
        Qt::QueuedConnection);

    QAction *help = bar->addAction(QStringLiteral("Aiuto"));
    help->setObjectName(QStringLiteral("HELP"));
    connect(help, &QAction::triggered, this, [this] { dispatch([this] { HELP_Click(); }); });

    QMenu *web = addMenu(bar, "web", QStringLiteral("Sito: vedi il README"));
    addItem(web, "scuola", QStringLiteral("Per gli alunni dai 9 ai 13 anni e i loro insegnanti"));

    QMenu *crit = addMenu(bar, "crit", QStringLiteral("Alcuni criteri di divisibilità "));
    addItem(crit, "due",
            QStringLiteral("Un numero è disivibile per 2 se è pari ossia se l'ultima cifra (quella "
                           "del'unità) è 0,2,4,6,8"));
    addItem(crit, "tre",
            QStringLiteral("Un numero è divisibile per 3 se la somma delle sue cifre è un multiplo "
                           "di 3 es 126: sì 1+2+6 = 9"));
    addItem(crit, "quattro",
            QStringLiteral(
                "Un numero è divisibile per 4 se lo è il numero formato dalle ultime due cifre "));
    addItem(crit, "cinq", QStringLiteral("Un numero è divisibile per 5 se termina con 0 oppure 5"));
    addItem(crit, "sei",
            QStringLiteral("Un numero è divisibile per 6 se è divisibile sia per 2 che per 3. Es. "
                           "912 Sì  poiché è divisibile sia per 2 che per 3"));

    QMenu *contact = addMenu(bar, "contatti", QStringLiteral("Segnalazioni "));
    addItem(contact, "segn", QStringLiteral(" Per segnalare eventuali errori  o suggerimenti"));

    // A page around the game reads the menus out as the pupil moves through them.
    if (services_.announce) {
        const auto say = [this](QAction *action) { services_.announce(action->text()); };
        connect(bar, &QMenuBar::hovered, this, say);
        for (QMenu *menu : bar->findChildren<QMenu *>())
            connect(menu, &QMenu::hovered, this, say);
    }
}

void Tavola::HELP_Click()
{
    const QString name = ui->lblnome1->text();
    MsgBox(MessageBox::ok(
        name +
        QStringLiteral(
            " Devi risolvere così: es 4/15 + 2/5 = 4/15 + 6/15= 10/15 poi semplicando 2/3  ") +
        QStringLiteral("Ciao")));
}

} // namespace quorvela
