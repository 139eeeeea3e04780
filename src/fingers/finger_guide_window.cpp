// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingers/finger_guide_window.h"

#include "ui/menu_voice.h"

#include "fingers/finger_menus.h"

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

namespace hoshi {

FingerGuideWindow::FingerGuideWindow(Announcer &announcer, CuePlayer &cues, RunRecorder *recorder,
                                     PreferenceKeeper *preferences, QWidget *parent)
    : ModeWindow(parent)
    , m_guide(announcer, cues, recorder)
    , m_preferences(preferences)
{
    setObjectName(QStringLiteral("frmYubiren"));
    setWindowTitle(QStringLiteral("どのゆびつかうの"));
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setColours(client, Qt::black, Qt::white);
    client->setFocusPolicy(Qt::StrongFocus);
    setCentralWidget(client);
    buildMenus(announcer);
    buildLabels(client);

    auto *keys = new KeyPreview(
        [this](const TranslatedKey &key) {
            handleKey(key);
            return true;
        },
        this);
    keys->watch(this);
    keys->watch(client);
}

void FingerGuideWindow::buildMenus(Announcer &announcer)
{
    buildFingerMenus(this,
                     {QStringLiteral("終了(&X or Escape)"), QStringLiteral("mnuHintoNashi"),
                      QStringLiteral("mnuHintoAri")},
                     fingerNamesHandler(m_guide, [this] { render(); }, m_preferences), sayThrough(announcer));
    speakMenus(this, menuHintThrough(announcer));
}

void FingerGuideWindow::buildLabels(QWidget *client)
{
    m_lblYubiHyoji = makeLabel(client, QStringLiteral("lblYubiHyoji"),
                               {.pointSize = 90, .room = TextRoom::ToParentEdge, .text = QColor(255, 255, 0)});

    m_lblKey = makeLabel(client, QStringLiteral("lblKey"),
                         {.pointSize = 249.75, .room = TextRoom::ToParentEdge, .text = Qt::white, .background = Qt::black});

    // The reading is announced, not shown: black on the black window. A
    // screen reader still finds it, as it is the one text written for the ear.
    m_lblYubi = makeLabel(client, QStringLiteral("lblYubi"), {.text = Qt::black, .area = Area::Unseen});

    m_label1 = makeLabel(client, QStringLiteral("Label1"), {});
    m_label1->hide();
}

void FingerGuideWindow::load()
{
    placeFillingScreen(this);
    m_guide.load();
    applyKeptFingerNames(m_guide, m_preferences);
    render();
    layOut();
    centralWidget()->setFocus(Qt::OtherFocusReason);
}

void FingerGuideWindow::unload()
{
    m_guide.close();
}

void FingerGuideWindow::handleKey(const TranslatedKey &key)
{
    if (m_guide.keyDown(key.down.keyCode, key.down.modifiers) == FingerGuide::Request::Close) {
        close();
        return;
    }
    if (key.charCode)
        m_guide.keyPress(*key.charCode);
    render();
}

void FingerGuideWindow::render()
{
    const FingerGuideView &view = m_guide.view();
    const auto setAutoSized = [](QLabel *label, const QString &text) {
        label->setText(text);
        label->adjustSize();
    };
    setAutoSized(m_lblKey, view.keyText);
    setAutoSized(m_lblYubiHyoji, view.fingerLabel);
    setAutoSized(m_lblYubi, view.reading);
    setAutoSized(m_label1, view.typedText);
    m_lblYubiHyoji->setVisible(view.fingerLabelVisible);
}

void FingerGuideWindow::resizeEvent(QResizeEvent *event)
{
    ModeWindow::resizeEvent(event);
    layOut();
}

// The labels size themselves to their text; only their corners follow the window.
void FingerGuideWindow::layOut()
{
    if (!centralWidget())
        return;
    const TwipsLayout twips(*centralWidget());
    const double u = twips.units().rowUnit;
    m_lblYubiHyoji->move(twips.rect(0, 0.5 * u, 0, 0).topLeft());
    m_lblKey->move(twips.rect(0, 2 * u, 0, 0).topLeft());
    m_lblYubi->move(0, 0);
    m_label1->move(0, 0);
}

} // namespace hoshi
