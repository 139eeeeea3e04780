// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/api/preferences.h"
#include "platform/api/random_source.h"
#include "ui/message_box.h"
#include "ui/mode_window.h"
#include "typing/typing_exercise.h"
#include "typing/typing_look.h"

#include <memory>

class QLabel;
class QTimer;

namespace hoshi {

class Announcer;
class CuePlayer;
class EditorLauncher;
class FilePicker;
class PreferenceKeeper;
class RunRecorder;
class Speaker;
class TypingTextBox;
class VoiceFactory;
struct KeyDown;

/// What a typing window uses of the platform: its reading channel, cues,
/// English voice, file dialog and text editor.
struct TypingDevices {
    Announcer &announcer;
    CuePlayer &cuePlayer;
    VoiceFactory &voiceFactory;
    FilePicker &filePicker;
    EditorLauncher &editorLauncher;
    RunRecorder *recorder = nullptr; ///< keeps finished runs; none with --no-records
    /// None: the window starts from the defaults and keeps no choice.
    PreferenceKeeper *preferences = nullptr;
};

/// frmJapanese and frmEnglish: the typing exercise in a window. The window
/// sees Enter, Ctrl and Esc before the input box (key preview) and draws the
/// exercise's state; its practice text stays while the object lives.
class TypingWindow final : public ModeWindow {
    Q_OBJECT
public:
    TypingWindow(TypingLanguage language, TypingDevices devices, QWidget *parent = nullptr);
    ~TypingWindow() override;

    const TypingExercise &exercise() const { return m_exercise; }

    void mnuFileOpen_Click();
    void mnuFileText_Click();

protected:
    void load() override;
    void unload() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls(QWidget *client);
    void buildMenus();
    QString chooseFile();
    bool Form_KeyDown(const KeyDown &down);
    void Timer1_Timer();
    void onInputChanged();
    void render();
    void layOut();
    void placeBar();
    void tell(const QStringList &messages, MessageKind kind);
    void say(const QString &text);
    QString &keptFolder(Preferences &preferences) const;

    const TypingLanguage m_language;
    const TypingLook &m_look;
    TypingDevices m_devices;
    SeededRandom m_random;
    TypingExercise m_exercise;
    std::unique_ptr<Speaker> m_voice;
    bool m_rendering = false;
    QString m_lastFolder; ///< of the last file chosen in the dialog, kept between runs

    QWidget *m_frame1 = nullptr;
    TypingTextBox *m_txtHyoji = nullptr;
    TypingTextBox *m_txtNyuryoku = nullptr;
    QLabel *m_lblTime = nullptr;
    QLabel *m_lblMaru = nullptr;
    QLabel *m_lblBatsu = nullptr;
    QLabel *m_lblTokuten = nullptr;
    QLabel *m_lblKeyGuide = nullptr;
    QWidget *m_shpBox = nullptr;
    QWidget *m_shpScale = nullptr;
    QTimer *m_timer1 = nullptr;
};

} // namespace hoshi
