#pragma once
// Fakes of the typing windows' dialog, editor and voice services.

#include "platform/services.h"
#include "support/fakes.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace hoshi::testing {

/// Answers the file dialog with a preset path (empty: cancelled).
class FakeFilePicker final : public FilePicker {
public:
    QString chooseTextFile(QWidget *) override
    {
        ++calls;
        return answer;
    }
    QString answer;
    int calls = 0;
};

class FakeEditorLauncher final : public EditorLauncher {
public:
    bool startEditor() override
    {
        ++calls;
        return starts;
    }
    bool starts = true;
    int calls = 0;
};

/// Voices that speak into a RecordingServices log; none when unavailable.
class FakeVoiceFactory final : public VoiceFactory {
public:
    explicit FakeVoiceFactory(RecordingServices &log) : m_log(log) {}

    std::unique_ptr<Speaker> createVoice() override
    {
        ++created;
        if (!available)
            return nullptr;
        return std::make_unique<Voice>(m_log);
    }
    bool available = true;
    int created = 0;

private:
    class Voice final : public Speaker {
    public:
        explicit Voice(RecordingServices &log) : m_log(log) {}
        void speak(const QString &text) override { m_log.speak(text); }

    private:
        RecordingServices &m_log;
    };
    RecordingServices &m_log;
};

/// Closes every message box that opens while it lives and keeps its text, so
/// a test never hangs on a modal box and can check what the user was told.
class MessageCatcher final : public QObject {
public:
    MessageCatcher()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_poll.start(5);
    }
    QStringList texts;

private:
    QTimer m_poll;
};

} // namespace hoshi::testing
