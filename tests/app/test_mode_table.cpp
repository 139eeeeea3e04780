// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own table of modes with its real services (never started).
#include "app/mode_table.h"
#include "launcher/mode_registry.h"
#include "platform/modules/app_services.h"
#include "ui/mode_window.h"

#include <QTest>

using namespace hoshi;

class ModeTableTest : public QObject {
    Q_OBJECT
private slots:
    void each_number_opens_its_own_window_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::newRow("1 key guide") << 1 << "frmKeyGuide" << "押せばわかる";
        QTest::newRow("2 finger guide") << 2 << "frmYubiren" << "どのゆびつかうの";
        QTest::newRow("3 letters drill") << 3 << "frmYubiren2" << "アルファベットに挑戦";
        QTest::newRow("4 numbers and symbols drill") << 4 << "frmYubiren3" << "数字と記号も登場";
        QTest::newRow("5 Japanese typing") << 5 << "frmJapanese" << "応用日本語入力　３分";
        QTest::newRow("6 English typing") << 6 << "frmEnglish" << "ENGLISH Three Minute";
    }

    void each_number_opens_its_own_window()
    {
        QFETCH(int, number);
        m_modes->open(number);
        ModeWindow *window = m_modes->window(number);
        QVERIFY(window && window->isVisible());
        QTEST(window->objectName(), "window");
        QTEST(window->windowTitle(), "title");
        window->close();
    }

private:
    AppServices m_services{VoiceChoice::Never};
    const std::unique_ptr<ModeRegistry> m_modes = makeModeRegistry(m_services);
};

QTEST_MAIN(ModeTableTest)
#include "test_mode_table.moc"
