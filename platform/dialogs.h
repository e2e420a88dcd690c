// The game's modal dialogs and the beep, behind one small interface so that
// tests can script them.
#pragma once

#include <QString>

class QWidget;

namespace quorvela {

inline const QString kAppTitle = QStringLiteral("Quorvela");

enum class Buttons { Ok, YesNo };
enum class Icon { None, Question };
enum class Answer { Ok, Yes, No };

// Everything a message box shows. The game has two kinds: OK alone without
// icon, and Yes/No with the question icon and No as the default.
struct MessageBox {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok;

    static MessageBox ok(const QString &text, const QString &title = QString());
    static MessageBox yesNo(const QString &text, const QString &title);
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal; returns the button pressed. Closing a Yes/No box counts as No.
    virtual Answer messageBox(const MessageBox &box) = 0;
    // Modal; the typed text unchanged, or the empty text on Cancel or close.
    virtual QString inputBox(const QString &prompt, const QString &title) = 0;
    virtual void beep() = 0;
};

// The standard buttons in Italian (Annulla, Sì, No), like every text of the
// game, whatever the user's language. False when Qt's translations are missing.
bool useItalianButtons();

// The real ones: QMessageBox and QInputDialog.
class QtDialogs final : public Dialogs {
public:
    Answer messageBox(const MessageBox &box) override;
    QString inputBox(const QString &prompt, const QString &title) override;
    void beep() override;
    // On a touch screen: the least height, in pixels, of the dialogs' buttons
    // and of the input box's line, so that a finger hits them; 0 keeps Qt's.
    void setTouchTargetHeight(int pixels) { touchTargetHeight_ = pixels; }

private:
    void fitToTouch(QWidget &dialog) const;

    int touchTargetHeight_ = 0;
};

} // namespace quorvela
