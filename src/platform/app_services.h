#pragma once

#include "platform/clipboard_announcer.h"
#include "platform/sound_cue_player.h"

#include <QFileDialog> // INTERIM-TYPING: drop at merge

#include <memory> // INTERIM-TYPING: drop at merge

namespace hoshi {

// INTERIM-TYPING begin: stand-ins until the platform services land; drop at merge.
class InterimVoiceFactory final : public VoiceFactory {
public:
    std::unique_ptr<Speaker> createVoice() override { return nullptr; }
};
class InterimFilePicker final : public FilePicker {
public:
    QString chooseTextFile(QWidget *parent) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                            QStringLiteral("テキスト ファイル (*.txt)"), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    }
};
class InterimEditorLauncher final : public EditorLauncher {
public:
    bool startEditor() override { return false; }
};
// INTERIM-TYPING end

/// The real platform services of one run of the program, made in main().
class AppServices {
public:
    Announcer &announcer() { return m_announcer; }
    CuePlayer &cuePlayer() { return m_cuePlayer; }
    void preloadSounds() { m_cuePlayer.preload(); }
    VoiceFactory &voiceFactory() { return m_voiceFactory; }       // INTERIM-TYPING: drop at merge
    FilePicker &filePicker() { return m_filePicker; }             // INTERIM-TYPING: drop at merge
    EditorLauncher &editorLauncher() { return m_editorLauncher; } // INTERIM-TYPING: drop at merge

private:
    ClipboardAnnouncer m_announcer;
    SoundCuePlayer m_cuePlayer;
    InterimVoiceFactory m_voiceFactory;     // INTERIM-TYPING: drop at merge
    InterimFilePicker m_filePicker;         // INTERIM-TYPING: drop at merge
    InterimEditorLauncher m_editorLauncher; // INTERIM-TYPING: drop at merge
};

} // namespace hoshi
