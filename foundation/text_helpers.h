#pragma once
// Small text and control helpers the windows share: joining texts, numbered
// problem lists, case-blind change tests, digit-only key filtering and focus.

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora {

// first + " " + second when both are non-empty, else the two run together.
QString JoinWithBlank(const QString& first, const QString& second);
// second + " " + first when both are non-empty, else second + first.
QString JoinReversed(const QString& first, const QString& second);
// Grows "1. a" CR LF "2. b" by one numbered line; a list without a line
// break becomes "1. list" CR LF "2. line".
QString AppendNumberedLine(const QString& list, const QString& line);
// Hits may overlap: "aa" occurs twice in "aaa". An empty part occurs nowhere.
int CountOccurrences(const QString& part, const QString& text);

// True when the texts DIFFER, ignoring case (and surrounding blanks when
// trim is set). Logged on the debug channel.
bool CompareString(const QString& first, const QString& second, bool trim);
bool CompareBooleans(bool first, bool second, bool trim);
bool CompareIntegers(int first, int second, bool trim);
// The integer the (trimmed) text holds, else 0.
int IntegerOrZero(const QString& text);

// For a key press handler that lets an edit box take digits only: gives the Qt
// key code back for digits and for keys that type no character (backspace,
// arrows, Delete, Tab...), and 0 - no key - for any other typed character.
int DigitKeyFilter(int key);
// false for no control; true for a control that can never take the focus;
// else whether it has the focus. Change handlers use it to react to the
// user's own edits only.
bool IsControlFocused(const QWidget* control);
// The form keeps no focused control afterwards.
void ClearActiveControl(QWidget* form);
// Ascending order of entries i and j by their integer values (IntegerOrZero):
// negative, zero or positive. An index outside the list counts as 0.
int CompareListNumbers(const QStringList& list, int i, int j);

} // namespace velmora
