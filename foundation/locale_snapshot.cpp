#include "foundation/locale_snapshot.h"

namespace velmora {

namespace {

const QLocale* g_override = nullptr;

const QLocale& systemSnapshot()
{
    static const QLocale snapshot = QLocale::system();
    return snapshot;
}

} // namespace

QLocale LocaleSnapshot::locale()
{
    return g_override ? *g_override : systemSnapshot();
}

QLocale LocaleSnapshot::current()
{
    return QLocale();
}

LocaleSnapshot::Override::Override(const QLocale& locale)
    : m_previousSnapshot(g_override), m_locale(locale), m_previousCurrent(QLocale())
{
    g_override = &m_locale;
    QLocale::setDefault(m_locale);
}

LocaleSnapshot::Override::~Override()
{
    g_override = m_previousSnapshot;
    QLocale::setDefault(m_previousCurrent);
}

} // namespace velmora
