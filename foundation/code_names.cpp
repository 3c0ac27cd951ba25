#include "foundation/code_names.h"

namespace velmora {

namespace {

template <std::size_t N>
QString nameAt(const char* const (&names)[N], int index)
{
    return index >= 0 && std::size_t(index) < N ? QLatin1String(names[index]) : QString();
}

} // namespace

QString TaskStatusName(const QString& status)
{
    static const char* const names[] = {"Not Started", "In Progress", "Completed", "Waiting on someone else",
                                        "Deferred"};
    if (status.size() == 1 && status.at(0) >= QLatin1Char('0') && status.at(0) <= QLatin1Char('4'))
        return QLatin1String(names[status.at(0).unicode() - '0']);
    return QStringLiteral("0");
}

QString ImportanceName(int importance)
{
    static const char* const names[] = {"Low", "Medium", "High", "Urgent"};
    return nameAt(names, importance);
}

QString InstanceName(int instance)
{
    static const char* const names[] = {"first", "second", "third", "fourth", "last"};
    return nameAt(names, instance - 1);
}

QString MonthName(int month)
{
    static const char* const names[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
    return nameAt(names, month - 1);
}

QString RecurrenceTypeName(int recurrenceType)
{
    static const char* const names[] = {"Daily", "Weekly", "Monthly", "Monthly", "", "Yearly", "Yearly"};
    if (recurrenceType < 0 || recurrenceType > 6)
        return QStringLiteral("(None)");
    return QLatin1String(names[recurrenceType]);
}

QString EntryCaption(const QString& noun, int mode)
{
    return (mode == 2 ? QStringLiteral("New ") : QStringLiteral("Edit ")) + noun + QStringLiteral(" Entry");
}

} // namespace velmora
