// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyguide/key_guide_window.h"

#include "ui/menu_voice.h"

#include "keyguide/key_guide.h"
#include "platform/keys/input_method.h"
#include "platform/keys/key_event.h"
#include "platform/keys/posted_key_injector.h"
#include "ui/fonts.h"
#include "ui/key_preview.h"
#include "ui/labels.h"
#include "ui/menus.h"
#include "ui/say_text.h"
#include "ui/text_fit.h"
#include "ui/twips_layout.h"
#include "ui/widget_look.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>

namespace hoshi {

namespace {

const QColor Black(0, 0, 0);

// Every label draws on the black window, as plain text.
QLabel *addLabel(QWidget *client, const QString &name, LabelStyle style)
{
    style.background = Black;
    style.plainText = true;
    return makeLabel(client, name, style);
}

} // namespace

KeyGuideWindow::KeyGuideWindow(Announcer &announcer, QWidget *parent)
    : ModeWindow(parent)
    , m_injector(std::make_unique<PostedKeyInjector>(this))
    , m_guide(std::make_unique<KeyGuide>(announcer, *m_injector, [this] { closeInputMethod(this); }))
{
    setObjectName(QStringLiteral("frmKeyGuide"));
    setWindowTitle(QStringLiteral("押せばわかる"));
    auto *client = new QWidget(this);
    setColours(client, Black, Qt::white);
    setCentralWidget(client);
    buildMenu(announcer);
    buildLabels(client);
    showState();
    // Every key is a key to name: none reaches a control, a shortcut, focus
    // traversal or the menu bar.
    auto *keys = new KeyPreview([this](const TranslatedKey &key) { return Form_KeyDown(key.down); }, this);
    keys->watchWholeWindow(this);
    m_lblKey->installEventFilter(this);
}

KeyGuideWindow::~KeyGuideWindow() = default;

const KeyGuideState &KeyGuideWindow::guideState() const
{
    return m_guide->state();
}

void KeyGuideWindow::buildMenu(Announcer &announcer)
{
    addVersionEntry(this, QStringLiteral("バージョン"), sayThrough(announcer));
    speakMenus(this, menuHintThrough(announcer));
}

void KeyGuideWindow::buildLabels(QWidget *client)
{
    // The key and its reading size themselves to their text.
    m_lblKey = addLabel(client, QStringLiteral("lblKey"),
                        {.pointSize = 129.75, .room = TextRoom::ToParentEdge, .text = QColor(255, 255, 255)});
    m_lblYomi = addLabel(client, QStringLiteral("lblYomi"),
                         {.pointSize = 90, .room = TextRoom::ToParentEdge, .text = QColor(255, 255, 0)});
    m_label2 = addLabel(client, QStringLiteral("Label2"),
                        {.pointSize = 60, .text = QColor(192, 255, 255), .alignment = Qt::AlignRight | Qt::AlignTop});
    m_label2->setText(QStringLiteral("Alt＋F4で終了"));
}

void KeyGuideWindow::load()
{
    placeFillingScreen(this);
    m_guide->load();
    showState();
}

bool KeyGuideWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lblKey && event->type() == QEvent::MouseButtonDblClick) {
        lblKey_DblClick();
        return true;
    }
    return ModeWindow::eventFilter(watched, event);
}

bool KeyGuideWindow::Form_KeyDown(const KeyDown &down)
{
    // A re-press still queued when the window closed is dropped: a closed
    // window says nothing.
    if (!isVisible())
        return true;
    m_guide->keyDown(down.keyCode, down.modifiers);
    showState();
    // Without a window manager nobody turns Alt+F4 into the close command.
    if (down.keyCode == VkF4 && (down.modifiers & AltBit))
        close();
    return true;
}

void KeyGuideWindow::lblKey_DblClick()
{
    close();
    emit endProgramRequested();
}

void KeyGuideWindow::showState()
{
    m_lblKey->setText(m_guide->state().keyText);
    m_lblYomi->setText(m_guide->state().yomiText);
    // Both labels size themselves to their text.
    m_lblKey->adjustSize();
    m_lblYomi->adjustSize();
}

void KeyGuideWindow::resizeEvent(QResizeEvent *event)
{
    ModeWindow::resizeEvent(event);
    layOut();
}

void KeyGuideWindow::layOut()
{
    if (!centralWidget() || !m_label2)
        return;
    const TwipsLayout twips(*centralWidget());
    const double u = twips.units().rowUnit;
    const double w = twips.units().usableWidth;
    // Only the top-left corner of the auto-sized labels counts.
    m_lblKey->move(twips.rect(0, 0.5 * u, w, 0.2 * u).topLeft());
    m_lblYomi->move(twips.rect(0, 2.5 * u, w, u).topLeft());
    m_label2->setGeometry(twips.rect(0, 4 * u, w, u));
}

} // namespace hoshi
