// SPDX-License-Identifier: GPL-3.0-or-later
#include "typing/typing_window.h"

#include "ui/menu_voice.h"

#include "platform/api/interfaces.h"
#include "platform/desktop/data_folders.h"
#include "platform/keys/key_event.h"
#include "typing/typing_text_box.h"

#include "ui/key_preview.h"
#include "ui/labels.h"
#include "ui/menus.h"
#include "ui/message_box.h"
#include "ui/text_fit.h"
#include "ui/twips_layout.h"
#include "ui/widget_look.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

namespace hoshi {

namespace {

constexpr int TickMs = 1000;

// Labels draw plain line feeds; the key help is kept with CR LF.
QString forLabel(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TypingWindow::TypingWindow(TypingLanguage language, TypingDevices devices, QWidget *parent)
    : ModeWindow(parent)
    , m_language(language)
    , m_look(TypingLook::of(language))
    , m_devices(devices)
    , m_exercise(TypingProfile::of(language), devices.announcer, devices.cuePlayer, m_random, devices.recorder)
{
    setObjectName(m_look.objectName);
    Preferences kept = preferencesOf(m_devices.preferences);
    m_lastFolder = keptFolder(kept);
    auto *client = new QWidget(this);
    setColours(client, m_look.windowColour, Qt::white);
    setCentralWidget(client);
    buildControls(client);
    // Enter, Ctrl and Esc are the exercise's wherever the focus is.
    auto *keys = new KeyPreview([this](const TranslatedKey &key) { return Form_KeyDown(key.down); }, this);
    keys->watch(m_txtNyuryoku);
    keys->watch(this);
    buildMenus();
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(TickMs);
    connect(m_timer1, &QTimer::timeout, this, &TypingWindow::Timer1_Timer);
    render();
}

TypingWindow::~TypingWindow() = default;

void TypingWindow::buildControls(QWidget *client)
{
    // A plain panel: a QFrame would be reported as a window of its own.
    m_frame1 = new QWidget(client);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    setColours(m_frame1, Qt::black, Qt::white);

    m_txtHyoji = new TypingTextBox(TypingTextBox::Role::Display, Qt::white, m_frame1);
    m_txtHyoji->setObjectName(QStringLiteral("txtHyoji"));
    m_txtHyoji->setAccessibleName(m_look.displayName);

    m_txtNyuryoku = new TypingTextBox(TypingTextBox::Role::Input, QColor(255, 255, 0),
                                      m_look.inputInFrame ? m_frame1 : client);
    m_txtNyuryoku->setObjectName(QStringLiteral("txtNyuryoku"));
    m_txtNyuryoku->setAccessibleName(m_look.inputName);
    m_txtNyuryoku->setInputMethodHints(m_look.inputHints);
    connect(m_txtNyuryoku, &QPlainTextEdit::textChanged, this, &TypingWindow::onInputChanged);

    m_shpBox = new QWidget(client);
    m_shpBox->setObjectName(QStringLiteral("shpBox"));
    setColours(m_shpBox, QGuiApplication::palette().color(QPalette::Base), Qt::white);
    m_shpScale = new QWidget(client);
    m_shpScale->setObjectName(QStringLiteral("shpScale"));
    m_shpScale->setAutoFillBackground(true);

    m_lblTime = makeLabel(client, QStringLiteral("lblTime"), m_look.time);
    m_lblMaru = makeLabel(client, QStringLiteral("lblMaru"), m_look.maru);
    m_lblBatsu = makeLabel(client, QStringLiteral("lblBatsu"), m_look.batsu);
    m_lblTokuten = makeLabel(client, QStringLiteral("lblTokuten"), m_look.score);
    m_lblKeyGuide = makeLabel(client, QStringLiteral("lblKey_Guide"), m_look.keyGuide);
}

void TypingWindow::buildMenus()
{
    QMenu *file = addMenu(this, QStringLiteral("mnuFile"), m_look.fileMenu);
    addEntry(file, QStringLiteral("mnuFileOpen"), m_look.openFile, [this] { mnuFileOpen_Click(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addEntry(file, QStringLiteral("mnuFileText"), m_look.openEditor, [this] { mnuFileText_Click(); });
    if (m_look.separatorBeforeExit)
        file->addSeparator()->setObjectName(QStringLiteral("mnuSeparator"));
    addEntry(file, QStringLiteral("mnuEnd"), m_look.exit, [this] { close(); });

    QMenu *settings = addMenu(this, QStringLiteral("mnuSettei"), m_look.settingsMenu);
    const std::array<TimeLimitChoice, 3> choices{TimeLimitChoice::OneMinute, TimeLimitChoice::ThreeMinutes,
                                                 TimeLimitChoice::FiveMinutes};
    const std::array<QString, 3> names{QStringLiteral("mnu1M"), QStringLiteral("mnu3M"), QStringLiteral("mnu5M")};
    for (std::size_t i = 0; i < choices.size(); ++i) {
        saysItsChoice(addEntry(settings, names[i], m_look.limitEntries[i], [this, choice = choices[i]] {
            m_exercise.chooseTimeLimit(choice);
            keepChange(m_devices.preferences,
                       [choice](Preferences &kept) { kept.typingMinutes = timeLimitEntry(choice).seconds / 60; });
            render();
        }));
    }
    addVersionEntry(this, m_look.versionEntry,
                    SayText([this](const QString &text) { m_exercise.sayJapanese(text); },
                            [this](const QString &text) { m_exercise.sayHint(text); }));
    speakMenus(this, [this](const QString &text) { m_exercise.sayMenuHint(text); }, *m_look.menuWords);
}

void TypingWindow::load()
{
    placeFillingScreen(this);
    if (m_exercise.profile().voice == TypingProfile::Voice::Speak) {
        // A new voice at every opening; the one before goes once it is replaced.
        std::unique_ptr<Speaker> voice = m_devices.voiceFactory.createVoice();
        m_exercise.setSpeaker(voice.get());
        m_voice = std::move(voice);
    }
    m_exercise.open();
    // The run length last chosen, in either typing window.
    for (const TimeLimitChoice choice : {TimeLimitChoice::OneMinute, TimeLimitChoice::FiveMinutes}) {
        if (timeLimitEntry(choice).seconds == preferencesOf(m_devices.preferences).typingMinutes * 60)
            m_exercise.chooseTimeLimit(choice);
    }
    render();
    m_txtNyuryoku->setFocus(Qt::OtherFocusReason);
}

void TypingWindow::unload()
{
    m_exercise.close();
    render();
}

void TypingWindow::mnuFileOpen_Click()
{
    const QString answer = chooseFile();
    // Take the keyboard back from the closed dialog, so menu keys work at once.
    activateWindow();
    const std::optional<PracticeFileContent> content = m_exercise.loadChosenFile(answer);
    render();
    if (!content)
        return;
    QStringList messages = m_exercise.profile().loadMessages(*content);
    if (!content->ok())
        messages << oneLine(answer.isEmpty() ? m_exercise.text().practiceFile() : answer);
    const bool failed = !content->ok() || content->unreadableCharacters;
    tell(messages, failed ? MessageKind::Failure : MessageKind::Notice);
}

// The dialog, each entry reached said through the window's channel; the answer.
QString TypingWindow::chooseFile()
{
    m_exercise.fileDialogOpens();
    const TypingProfile &profile = m_exercise.profile();
    TextFileRequest request;
    // The texts that come with the program first, then the folder of the last file chosen here.
    request.startFolder = m_lastFolder.isEmpty() ? sampleTextFolder(profile.sampleFolder) : m_lastFolder;
    request.entryFocused = [this, &profile](const QString &name, bool isFolder) {
        say(profile.entryAnnouncement(name, isFolder));
    };
    // Qt's own boxes are said like the window's: with CR LF.
    request.boxShown = [this](QString text) { say(text.replace(u'\n', QStringLiteral("\r\n"))); };
    request.unlistedNames = [this](const QString &) { m_exercise.dialogHidesNames(); };
    const QString answer = m_devices.filePicker.chooseTextFile(this, request);
    if (!answer.isEmpty()) {
        m_lastFolder = QFileInfo(answer).absolutePath();
        keepChange(m_devices.preferences, [this](Preferences &changed) { keptFolder(changed) = m_lastFolder; });
    }
    return answer;
}

QString &TypingWindow::keptFolder(Preferences &preferences) const
{
    return m_language == TypingLanguage::English ? preferences.englishFolder : preferences.japaneseFolder;
}

void TypingWindow::mnuFileText_Click()
{
    if (!m_devices.editorLauncher.startEditor())
        tell({m_exercise.profile().editorFailedMessage}, MessageKind::Failure);
}

void TypingWindow::tell(const QStringList &messages, MessageKind kind)
{
    if (messages.isEmpty())
        return;
    // Said with CR LF like every announcement; the box draws plain line feeds.
    say(messages.join(QStringLiteral("\r\n")));
    showMessageBox(this, kind, windowTitle(), messages.join(u'\n'), QStringLiteral("typingMessage"));
}

// The exercise's channel: the Japanese window announces, the English one
// speaks with the voice it handed the exercise.
void TypingWindow::say(const QString &text)
{
    m_exercise.say(text);
}

// True when the key was the exercise's: the input box then never sees it,
// so Enter puts no line break into it.
bool TypingWindow::Form_KeyDown(const KeyDown &down)
{
    if (!m_exercise.keyDown(down.keyCode, down.modifiers))
        return false;
    render();
    return true;
}

void TypingWindow::Timer1_Timer()
{
    m_exercise.tick();
    render();
}

void TypingWindow::onInputChanged()
{
    if (!m_rendering)
        m_exercise.inputChanged(m_txtNyuryoku->toPlainText());
}

void TypingWindow::render()
{
    const TypingState &state = m_exercise.state();
    m_rendering = true;
    setWindowTitle(state.caption);
    m_txtHyoji->showText(state.display);
    m_txtNyuryoku->showText(state.input);
    m_txtNyuryoku->setReadOnly(state.inputLocked);
    m_rendering = false;
    m_lblTime->setText(state.timeLabel());
    m_lblMaru->setText(state.maruLabel());
    m_lblBatsu->setText(state.batsuLabel());
    m_lblTokuten->setText(state.scoreLabel);
    m_lblTokuten->setVisible(state.scoreVisible);
    m_lblKeyGuide->setText(forLabel(state.keyGuide));
    setColours(m_shpScale, toQColor(state.barColour), Qt::white, Area::Fill);
    placeBar();
    // Switching on a running timer must not restart its second.
    if (state.timerOn && !m_timer1->isActive())
        m_timer1->start();
    else if (!state.timerOn && m_timer1->isActive())
        m_timer1->stop();
}

void TypingWindow::resizeEvent(QResizeEvent *event)
{
    ModeWindow::resizeEvent(event);
    layOut();
}

void TypingWindow::layOut()
{
    const TwipsLayout twips(*centralWidget());
    const double u = twips.units().rowUnit;
    const double w = twips.units().usableWidth;
    const double clientWidth = twips.clientWidthTwips();
    const double outerWidth = twips.toTwipsX(frameGeometry().width());
    // The boxes end at the window's right edge, so wrapped text is never hidden.
    const double boxLeft = 0.05 * w;
    const double boxWidth = std::min(w, clientWidth - boxLeft);

    m_txtHyoji->setGeometry(twips.rect(boxLeft, 0.2 * u, boxWidth, 1.5 * u));
    m_txtNyuryoku->setGeometry(twips.rect(boxLeft, 1.8 * u, boxWidth, 1.5 * u));
    m_lblTime->setGeometry(twips.rect(0.02 * w, 3.5 * u, 0.35 * outerWidth, 0.6 * u));
    m_lblMaru->setGeometry(twips.rect(0.4 * w, 3.5 * u, 0.25 * outerWidth, 0.6 * u));
    m_lblBatsu->setGeometry(twips.rect(0.4 * w, 4.2 * u, 0.25 * outerWidth, 0.6 * u));
    m_lblTokuten->setGeometry(twips.rect(0.65 * w, 3.5 * u, 0.35 * outerWidth, 0.6 * u));
    m_frame1->setGeometry(twips.rect(0, 0.01 * u, clientWidth, 3.4 * u));
    m_shpBox->setGeometry(twips.rect(0, 3.4 * u, clientWidth, 0.1 * u));
    m_lblKeyGuide->setGeometry(twips.rect(0.02 * w, 4.2 * u, 0.35 * outerWidth, 0.6 * u));
    placeBar();
}

void TypingWindow::placeBar()
{
    const QRect box = m_shpBox->geometry();
    const int width = static_cast<int>(box.width() * m_exercise.state().barShare);
    m_shpScale->setGeometry(box.x(), box.y(), std::max(width, 0), box.height());
    m_shpScale->raise();
}

} // namespace hoshi
