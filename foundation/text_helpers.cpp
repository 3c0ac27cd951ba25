#include "foundation/text_helpers.h"

#include "foundation/debug_agent.h"

#include <QWidget>

namespace velmora {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString JoinWithBlank(const QString& first, const QString& second)
{
    if (!first.isEmpty() && !second.isEmpty())
        return first + QLatin1Char(' ') + second;
    return first + second;
}

QString JoinReversed(const QString& first, const QString& second)
{
    if (!first.isEmpty() && !second.isEmpty())
        return second + QLatin1Char(' ') + first;
    return second + first;
}

QString AppendNumberedLine(const QString& list, const QString& line)
{
    if (list.isEmpty() || line.isEmpty())
        return list + line;
    const int breaks = CountOccurrences(kLineBreak, list);
    if (breaks == 0)
        return QStringLiteral("1. ") + list + kLineBreak + QStringLiteral("2. ") + line;
    return list + kLineBreak + QString::number(breaks + 2) + QStringLiteral(". ") + line;
}

int CountOccurrences(const QString& part, const QString& text)
{
    if (part.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1))
        ++count;
    return count;
}

bool CompareString(const QString& first, const QString& second, bool trim)
{
    const QString a = trim ? first.trimmed() : first;
    const QString b = trim ? second.trimmed() : second;
    const bool differ = a.compare(b, Qt::CaseInsensitive) != 0;
    SendDebugMessage(QStringLiteral("CommUnit"), kTraceLevel,
                     QStringLiteral("CompareString: strValue1, strValue2, Result: [") + first
                         + QStringLiteral("], [") + second + QStringLiteral("], [") + boolText(differ)
                         + QLatin1Char(']'));
    return differ;
}

bool CompareBooleans(bool first, bool second, bool trim)
{
    return CompareString(boolText(first), boolText(second), trim);
}

bool CompareIntegers(int first, int second, bool trim)
{
    return CompareString(QString::number(first), QString::number(second), trim);
}

int IntegerOrZero(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

int DigitKeyFilter(int key)
{
    // Qt gives keys that type no character codes from Qt::Key_Escape upwards;
    // only typed characters are filtered, so editing and moving still work.
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key >= Qt::Key_Escape)
        return key;
    return 0;
}

bool IsControlFocused(const QWidget* control)
{
    if (!control)
        return false;
    if (control->focusPolicy() == Qt::NoFocus && !control->focusProxy())
        return true;
    return control->hasFocus();
}

void ClearActiveControl(QWidget* form)
{
    if (!form)
        return;
    if (QWidget* active = form->focusWidget())
        active->clearFocus();
}

int CompareListNumbers(const QStringList& list, int i, int j)
{
    const auto numberAt = [&list](int index) {
        return index >= 0 && index < list.size() ? IntegerOrZero(list.at(index)) : 0;
    };
    const int a = numberAt(i);
    const int b = numberAt(j);
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace velmora
