#pragma once
// The locale the date and time texts are written in: a copy of the system
// default taken once, and the process's current formats, both of which a
// test can pin for a while with LocaleSnapshot::Override.

#include <QLocale>

namespace velmora {

class LocaleSnapshot {
public:
    // The system-default locale's formats as they were first asked for; later
    // changes to the process's formats leave it alone. Short time texts use it.
    static QLocale locale();
    // The process's current formats (QLocale's default); the other date texts
    // use them.
    static QLocale current();

    // For its life, both the snapshot and the current formats are this
    // locale; the previous ones come back when it ends. Nests.
    class Override {
    public:
        explicit Override(const QLocale& locale);
        ~Override();
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        const QLocale* m_previousSnapshot;
        QLocale m_locale;
        QLocale m_previousCurrent;
    };
};

} // namespace velmora
