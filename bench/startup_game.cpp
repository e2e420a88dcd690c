// The game, built for benchmarks only: real dialogs that answer themselves once
// painted, and timestamps at the first dialog, the last start-up OK and the
// window's first frame. The shipped binary has none of this.
#include "firstpaint.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "rules/randomsource.h"
#include "record/recordkeeper.h"
#include "ui/tavola.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTemporaryDir>

using namespace quorvela;

namespace {

class SelfAnsweringDialogs final : public Dialogs {
public:
    std::function<void()> onLastOk;

    Answer messageBox(const MessageBox &box) override
    {
        QMessageBox dialog(QMessageBox::NoIcon, box.title, box.text, QMessageBox::Ok);
        const bool last = box.text.startsWith(QStringLiteral("   Buona fortuna "));
        new bench::FirstPaint(&dialog, [this, &dialog, last] {
            if (last) {
                bench::stamp("last-ok");
                onLastOk();
            }
            dialog.accept();
        });
        dialog.exec();
        return Answer::Ok;
    }
    QString inputBox(const QString &prompt, const QString &title) override
    {
        QInputDialog dialog;
        dialog.setWindowTitle(title);
        dialog.setLabelText(prompt);
        new bench::FirstPaint(&dialog, [&dialog] {
            bench::stamp("first-dialog");
            dialog.setTextValue(QStringLiteral("Bench"));
            dialog.accept();
        });
        dialog.exec();
        return dialog.textValue();
    }
    void beep() override {}
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useItalianButtons(); // as the shipped program does
    QTemporaryDir record;
    SelfAnsweringDialogs dialogs;
    ClockSeededRandom random;
    QtProgramEnder ender;
    StoreKeeper keeper;
    Tavola tavola({dialogs, random, ender, keeper, [&] { return record.path(); }});
    // The window's first frame: the client area's first paint, which can only
    // come after the show that follows start-up.
    dialogs.onLastOk = [&tavola] {
        new bench::FirstPaint(tavola.centralWidget(), [] {
            bench::stamp("window-frame");
            QCoreApplication::quit();
        });
    };
    if (!tavola.Show())
        return 1;
    return QApplication::exec();
}
