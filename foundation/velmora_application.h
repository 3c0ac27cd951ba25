#pragma once
// The application object of every windowed program of the suite: an error
// that escapes an event handler is reported (ReportUnhandledError) instead of
// ending the program.

#include <QApplication>

namespace velmora {

class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace velmora
