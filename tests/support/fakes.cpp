#include "fakes.h"

#include <QFile>
#include <QTest>

namespace quorvela::test {

Answer FakeDialogs::messageBox(const MessageBox &box)
{
    boxes.push_back(box);
    if (whileOpen)
        whileOpen(box);
    if (box.buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty()) {
        ++unscripted;
        return Answer::No;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeDialogs::inputBox(const QString &prompt, const QString &title)
{
    prompts << prompt + u'|' + title;
    if (names.empty())
        return QString();
    QString name = names.front();
    names.pop_front();
    return name;
}

float ScriptedRandom::next()
{
    ++draws;
    if (!values.empty()) {
        const float r = values.front();
        values.pop_front();
        return r;
    }
    return float(fallback_() % 1000) / 1000.0f;
}

float drawing(int n, int k)
{
    return (float(n) - 0.5f) / float(k);
}

Game::Game(const QString &name)
{
    dialogs.names.push_back(name);
    Services services{dialogs, random, ender, record, [this] { return recordFolder(); }};
    services.announce = [this](const QString &text) { announced << text; };
    window = std::make_unique<Tavola>(services);
}

void Game::keepRealTime()
{
    Services services{dialogs, random, ender, record, [this] { return recordFolder(); }};
    services.announce = [this](const QString &text) { announced << text; };
    services.monotonicMs = [this] { return nowMs; };
    window = std::make_unique<Tavola>(services);
}

Game::~Game() = default;

bool Game::start()
{
    return window->Show();
}

void Game::scriptProblem(int num1, int den1, int num2, int den2)
{
    random.values.insert(random.values.end(),
                         {drawing(num1, 8), drawing(den1, 5), drawing(num2, 8), drawing(den2, 8)});
}

void Game::answer(const QString &numerator, const QString &denominator)
{
    QTest::keyClicks(c().txtAnswer, numerator);
    QTest::keyClick(c().txtAnswer, Qt::Key_Return);
    QTest::keyClicks(c().Text3, denominator);
    QTest::keyClick(c().Text3, Qt::Key_Return);
}

QStringList Game::boxTexts() const
{
    QStringList texts;
    for (const MessageBox &box : dialogs.boxes)
        texts << box.text;
    return texts;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace quorvela::test
