#include "platform/dialogs.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QList>
#include <QMessageBox>

#include <atomic>
#include <cstdio>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

std::atomic<DialogHandler*> g_handler{nullptr};

struct ScriptedAnswers {
    std::mutex mutex;
    int next = 0;
};

ScriptedAnswers& scriptedAnswers()
{
    static ScriptedAnswers answers;
    return answers;
}

// The next scripted answer of this process, if any is left.
std::optional<QString> takeScriptedAnswer()
{
    const QStringList answers =
        qEnvironmentVariable("VELMORA_DIALOG_ANSWERS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    auto& state = scriptedAnswers();
    std::lock_guard lock(state.mutex);
    if (state.next >= answers.size())
        return std::nullopt;
    return answers.at(state.next++).trimmed();
}

DialogButton scriptedAnswer(const MessageBoxRequest& request)
{
    const DialogButton fallback = defaultButtonOf(request);
    const auto name = takeScriptedAnswer();
    if (!name)
        return fallback;
    const auto button = dialogButtonFromName(*name);
    if (!button || !buttonsOf(request.buttons).contains(*button))
        return fallback;
    return *button;
}

void appendToLog(const QString& path, const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // One write with O_APPEND: lines of several processes never interleave.
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    ::close(fd);
}

QMessageBox::StandardButton toQt(DialogButton button)
{
    switch (button) {
    case DialogButton::Ok: return QMessageBox::Ok;
    case DialogButton::Cancel: return QMessageBox::Cancel;
    case DialogButton::Yes: return QMessageBox::Yes;
    case DialogButton::No: return QMessageBox::No;
    case DialogButton::Abort: return QMessageBox::Abort;
    case DialogButton::Retry: return QMessageBox::Retry;
    case DialogButton::Ignore: return QMessageBox::Ignore;
    case DialogButton::None: break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon toQt(DialogIcon icon)
{
    switch (icon) {
    case DialogIcon::None: return QMessageBox::NoIcon;
    case DialogIcon::Information: return QMessageBox::Information;
    case DialogIcon::Warning: return QMessageBox::Warning;
    case DialogIcon::Question: return QMessageBox::Question;
    case DialogIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// A real box can only be shown, and answered, on a real screen.
bool canShowRealBox()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    return QGuiApplication::platformName() != QLatin1String("offscreen")
        && QGuiApplication::platformName() != QLatin1String("minimal");
}

DialogButton showRealBox(const MessageBoxRequest& request)
{
    QMessageBox box(toQt(request.icon), request.caption, request.text, QMessageBox::NoButton, request.owner);
    for (DialogButton button : buttonsOf(request.buttons))
        box.addButton(toQt(button));
    box.setDefaultButton(toQt(defaultButtonOf(request)));
    if (request.topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const int chosen = box.exec();
    for (DialogButton button : buttonsOf(request.buttons))
        if (toQt(button) == chosen)
            return button;
    // Closed with Esc or the title bar: Cancel or No where offered, else the default.
    const auto offered = buttonsOf(request.buttons);
    if (offered.contains(DialogButton::Cancel))
        return DialogButton::Cancel;
    if (offered.contains(DialogButton::No))
        return DialogButton::No;
    return defaultButtonOf(request);
}

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString unescaped(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('t'))
            result += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            result += QLatin1Char('\r');
        else if (next == QLatin1Char('n'))
            result += QLatin1Char('\n');
        else
            result += next;
    }
    return result;
}

} // namespace

QList<DialogButton> buttonsOf(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::Ok: return {DialogButton::Ok};
    case DialogButtons::OkCancel: return {DialogButton::Ok, DialogButton::Cancel};
    case DialogButtons::YesNo: return {DialogButton::Yes, DialogButton::No};
    case DialogButtons::YesNoCancel: return {DialogButton::Yes, DialogButton::No, DialogButton::Cancel};
    case DialogButtons::RetryCancel: return {DialogButton::Retry, DialogButton::Cancel};
    case DialogButtons::AbortRetryIgnore: return {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore};
    }
    return {DialogButton::Ok};
}

DialogButton defaultButtonOf(const MessageBoxRequest& request)
{
    const auto offered = buttonsOf(request.buttons);
    if (request.defaultButton != DialogButton::None && offered.contains(request.defaultButton))
        return request.defaultButton;
    return offered.first();
}

DialogButton showMessageBox(const MessageBoxRequest& request)
{
    if (DialogHandler* handler = g_handler.load())
        return handler->answer(request);

    const QString logPath = qEnvironmentVariable("VELMORA_DIALOGS");
    if (!logPath.isEmpty()) {
        const DialogButton answer = scriptedAnswer(request);
        appendToLog(logPath, dialogLogLine(request.caption, request.text, answer));
        return answer;
    }
    if (canShowRealBox())
        return showRealBox(request);

    // Nobody can answer: say what the box said and take its default.
    const DialogButton answer = defaultButtonOf(request);
    std::fprintf(stderr, "[%s] %s -> %s\n", qPrintable(request.caption), qPrintable(request.text),
                 qPrintable(dialogButtonName(answer)));
    return answer;
}

void installDialogHandler(DialogHandler* handler)
{
    g_handler.store(handler);
}

QString dialogButtonName(DialogButton button)
{
    switch (button) {
    case DialogButton::None: return QStringLiteral("none");
    case DialogButton::Ok: return QStringLiteral("ok");
    case DialogButton::Cancel: return QStringLiteral("cancel");
    case DialogButton::Yes: return QStringLiteral("yes");
    case DialogButton::No: return QStringLiteral("no");
    case DialogButton::Abort: return QStringLiteral("abort");
    case DialogButton::Retry: return QStringLiteral("retry");
    case DialogButton::Ignore: return QStringLiteral("ignore");
    }
    return QStringLiteral("none");
}

std::optional<DialogButton> dialogButtonFromName(const QString& name)
{
    for (DialogButton button : {DialogButton::Ok, DialogButton::Cancel, DialogButton::Yes, DialogButton::No,
                                DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore})
        if (name.compare(dialogButtonName(button), Qt::CaseInsensitive) == 0)
            return button;
    return std::nullopt;
}

QString dialogLogLine(const QString& caption, const QString& text, DialogButton answer)
{
    return escaped(caption) + QLatin1Char('\t') + escaped(text) + QLatin1Char('\t') + dialogButtonName(answer);
}

std::optional<LoggedDialog> parseDialogLogLine(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 3)
        return std::nullopt;
    return LoggedDialog{unescaped(fields[0]), unescaped(fields[1]), fields[2]};
}

} // namespace velmora::platform
