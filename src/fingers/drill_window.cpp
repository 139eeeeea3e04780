// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/drill_window.h"

#include "ui/menu_voice.h"

#include "fingers/finger_menus.h"

#include "platform/api/random_source.h"
#include "platform/keys/key_event.h"
#include "ui/fonts.h"
#include "ui/key_preview.h"
#include "ui/labels.h"
#include "ui/say_text.h"
#include "ui/text_fit.h"
#include "ui/twips_layout.h"
#include "ui/widget_look.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace hoshi {

namespace {

constexpr int TickMs = 1000;
const QColor Navy(0, 0, 128);
const QColor Yellow(255, 255, 0);

// Texts drawn on whatever lies behind them.
QLabel *addLabel(const QString &name, QWidget *parent, FontFace face, double points, QColor colour)
{
    return makeLabel(parent, name, {.face = face, .pointSize = points, .text = colour});
}

QWidget *addShape(const QString &name, QWidget *parent, QColor colour, Area area)
{
    auto *shape = new QWidget(parent);
    shape->setObjectName(name);
    setColours(shape, colour, colour, area);
    return shape;
}

} // namespace

DrillWindow::DrillWindow(const DrillProfile &profile, Announcer &announcer, CuePlayer &cues,
                         std::unique_ptr<RandomSource> random, RunRecorder *recorder,
                         PreferenceKeeper *preferences, QWidget *parent)
    : ModeWindow(parent)
    , m_random(std::move(random))
    , m_engine(profile, announcer, cues, *m_random, recorder)
    , m_preferences(preferences)
{
    setObjectName(profile.objectName);
    setWindowTitle(profile.title);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setColours(client, Navy, Qt::white);
    client->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(client);
    buildMenus(announcer);
    buildControls(client);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TickMs);
    connect(m_timer, &QTimer::timeout, this, &DrillWindow::Timer1_Timer);

    auto *keys = new KeyPreview(
        [this](const TranslatedKey &key) {
            handleKey(key);
            return true;
        },
        this);
    keys->watch(this);
    keys->watch(client);
}

DrillWindow::~DrillWindow() = default;

void DrillWindow::buildMenus(Announcer &announcer)
{
    buildFingerMenus(this,
                     {m_engine.profile().endCaption, QStringLiteral("mnuHintNashi"), QStringLiteral("mnuHintAri")},
                     fingerNamesHandler(m_engine, [this] { render(); }, m_preferences), sayThrough(announcer));
    speakMenus(this, menuHintThrough(announcer));
}

void DrillWindow::buildControls(QWidget *client)
{
    m_label1 = addLabel(QStringLiteral("Label1"), client, FontFace::Proportional, 9, Navy);
    m_label1->hide();
    m_lblTime = addLabel(QStringLiteral("lblTime"), client, FontFace::Proportional, 72, Qt::white);
    m_lblMaru = addLabel(QStringLiteral("lblMaru"), client, FontFace::Fixed, 72, Qt::white);
    m_lblBatsu = addLabel(QStringLiteral("lblBatsu"), client, FontFace::Fixed, 72, Qt::white);
    m_lblTokuten = addLabel(QStringLiteral("lblTokuten"), client, FontFace::Fixed, 72, Yellow);

    // A plain panel: a QFrame would be reported as a window of its own.
    m_frame1 = new QWidget(client);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    setColours(m_frame1, Qt::black, Qt::white);
    m_lblYubi = addLabel(QStringLiteral("lblYubi"), m_frame1, FontFace::Proportional, 60, Yellow);
    m_lblYubi->setAlignment(Qt::AlignCenter);
    m_lblKey = addLabel(QStringLiteral("lblKey"), m_frame1, FontFace::Proportional, 249.75, Qt::white);
    m_lblKey->setAlignment(Qt::AlignCenter);

    // The bar lies over its white box, both over the panel's lower edge.
    m_shpBox = addShape(QStringLiteral("shpBox"), client, Qt::white, Area::Plain);
    m_shpScale = addShape(QStringLiteral("shpScale"), client, toQColor(m_engine.profile().barColour), Area::Fill);

    m_cmdStart = new QPushButton(client);
    m_cmdStart->setObjectName(QStringLiteral("cmdStart"));
    m_cmdStart->setFont(japaneseFont(FontFace::Proportional, 36));
    setButtonFace(m_cmdStart, QColor(224, 224, 224));
    // Space and Escape belong to the window, never to the button.
    m_cmdStart->setFocusPolicy(Qt::NoFocus);
    connect(m_cmdStart, &QPushButton::clicked, this, &DrillWindow::cmdStart_Click);
}

void DrillWindow::load()
{
    m_timer->stop();
    placeFillingScreen(this);
    m_engine.load();
    applyKeptFingerNames(m_engine, m_preferences);
    layOut();
    render();
    centralWidget()->setFocus(Qt::OtherFocusReason);
}

void DrillWindow::unload()
{
    m_timer->stop();
    m_engine.close();
}

void DrillWindow::cmdStart_Click()
{
    m_engine.start();
    startRun();
}

// What a start does to the window beyond the engine: the window fills the
// screen again, the bar is full and the first tick comes a second later.
void DrillWindow::startRun()
{
    placeFillingScreen(this);
    layOut();
    m_timer->start();
    render();
}

void DrillWindow::Timer1_Timer()
{
    m_engine.tick();
    if (!m_engine.timerOn())
        m_timer->stop();
    render();
    drawBar();
}

void DrillWindow::handleKey(const TranslatedKey &key)
{
    switch (m_engine.keyDown(key.down.keyCode, key.down.modifiers)) {
    case DrillEngine::KeyResult::Close:
        close();
        return;
    case DrillEngine::KeyResult::Started:
        startRun();
        break;
    case DrillEngine::KeyResult::None:
        break;
    }
    if (key.charCode)
        m_engine.keyPress(*key.charCode);
    render();
}

void DrillWindow::render()
{
    const DrillView &view = m_engine.view();
    m_lblYubi->setText(view.fingerText);
    m_lblYubi->setVisible(view.fingerVisible);
    m_lblKey->setText(view.keyText);
    m_lblKey->setVisible(view.keyVisible);
    m_label1->setText(view.echoText);
    m_lblTime->setText(view.timeText());
    m_lblMaru->setText(view.maruText());
    m_lblBatsu->setText(view.batsuText());
    m_lblTokuten->setText(view.tokutenText());
    m_lblTokuten->setVisible(view.tokutenVisible);
    m_cmdStart->setText(view.startCaption);
    m_cmdStart->setEnabled(view.startEnabled);
}

void DrillWindow::drawBar()
{
    const float width = m_engine.barWidth(static_cast<float>(m_shpBox->width()));
    m_shpScale->resize(static_cast<int>(std::lround(width)), m_shpBox->height());
}

void DrillWindow::resizeEvent(QResizeEvent *event)
{
    ModeWindow::resizeEvent(event);
    layOut();
}

// A layout pass draws the bar at the box's full width; the next tick brings
// it back to the time left.
void DrillWindow::layOut()
{
    if (!centralWidget() || !m_cmdStart)
        return;
    const TwipsLayout twips(*centralWidget());
    const double u = twips.units().rowUnit;
    const double w = twips.units().usableWidth;
    m_label1->setGeometry(twips.rect(0, 0, 0.01 * w, 0.2 * u));
    m_lblTime->setGeometry(twips.rect(0.62 * w, 0.2 * u, 0.5 * w, u));
    m_lblMaru->setGeometry(twips.rect(0.72 * w, 1.4 * u, 0.3 * w, u));
    m_lblBatsu->setGeometry(twips.rect(0.72 * w, 2.6 * u, 0.3 * w, u));
    m_lblTokuten->setGeometry(twips.rect(0.62 * w, 3.8 * u, 0.5 * w, u));
    m_frame1->setGeometry(twips.rect(0, 0.01 * u, 0.6 * w, 3.5 * u));
    m_lblYubi->setGeometry(twips.rect(0.01 * w, 0.3 * u, 0.6 * w, 0.8 * u));
    m_lblKey->setGeometry(twips.rect(0.01 * w, 1.2 * u, 0.6 * w, 2.3 * u));
    m_shpScale->setGeometry(twips.rect(0, 3.5 * u, 0.6 * w, 0.1 * u));
    m_shpBox->setGeometry(twips.rect(0, 3.5 * u, 0.6 * w, 0.1 * u));
    m_cmdStart->setGeometry(twips.rect(0.1 * w, 3.9 * u, 0.4 * w, 0.6 * u));
}

} // namespace hoshi
