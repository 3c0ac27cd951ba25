#pragma once
// Message boxes answered by the test instead of a person: in this process
// (ScriptedDialogs) or in a started program (readDialogLog of the sandbox's
// VELMORA_DIALOGS file).

#include "platform/dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace velmora::test {

class ScriptedDialogs final : public platform::DialogHandler {
public:
    ScriptedDialogs();  // installs itself
    ~ScriptedDialogs() override; // uninstalls itself

    // Answers for the next boxes, in order; afterwards the default button.
    void queueAnswers(const QList<platform::DialogButton>& answers) { m_answers.append(answers); }
    const QList<platform::MessageBoxRequest>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

    platform::DialogButton answer(const platform::MessageBoxRequest& request) override;

private:
    QQueue<platform::DialogButton> m_answers;
    QList<platform::MessageBoxRequest> m_shown;
};

// The boxes a program logged to VELMORA_DIALOGS, in order.
QList<platform::LoggedDialog> readDialogLog(const QString& path);

} // namespace velmora::test
