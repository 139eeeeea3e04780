// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window of the program, opened on recording services: the launcher,
// the key guide, the finger guide, the two drills, both typing windows and
// the records.

#include "app/mode_table.h"
#include "fingers/drill_tables.h"
#include "fingers/drill_window.h"
#include "fingers/finger_guide_window.h"
#include "keyguide/key_guide_window.h"
#include "launcher/launcher_window.h"
#include "launcher/mode_registry.h"
#include "records/record_keeper.h"
#include "records/record_store.h"
#include "records/records_window.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "typing/typing_window.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace hoshi::testing {

class EveryWindow {
public:
    // The window, opened. A line given to a typing window is shown and half typed; a mode
    // given to the records window has twelve runs kept, with scores of three figures.
    std::unique_ptr<QMainWindow> open(const QString &which, const QString &given = {})
    {
        if (which == QLatin1String("launcher")) {
            auto launcher = std::make_unique<LauncherWindow>(m_registry, services);
            launcher->show();
            return launcher;
        }
        if (which == QLatin1String("records")) {
            if (!given.isEmpty())
                m_keeper = std::make_unique<RecordKeeper>(keptRuns(given), RecordKeeper::ProblemListener{});
            auto window = std::make_unique<RecordsWindow>(m_keeper.get(), services);
            window->open();
            return window;
        }
        if (which == QLatin1String("japanese") || which == QLatin1String("english"))
            return typing(which == QLatin1String("english") ? TypingLanguage::English : TypingLanguage::Japanese, given);
        std::unique_ptr<ModeWindow> mode;
        if (which == QLatin1String("key guide"))
            mode = std::make_unique<KeyGuideWindow>(services);
        else if (which == QLatin1String("finger guide"))
            mode = std::make_unique<FingerGuideWindow>(services, services);
        else
            mode = std::make_unique<DrillWindow>(which.contains(QLatin1String("symbols")) ? numbersAndSymbolsDrillProfile()
                                                                                         : alphabetDrillProfile(),
                                                 services, services, std::make_unique<ScriptedRandom>());
        mode->open();
        return mode;
    }

    RecordingServices services;
    QTemporaryDir folder;

private:
    struct TypingFakes final : VoiceFactory, FilePicker, EditorLauncher {
        std::unique_ptr<Speaker> createVoice() override { return nullptr; }
        QString chooseTextFile(QWidget *, const TextFileRequest &) override { return answer; }
        bool startEditor() override { return true; }
        QString answer;
    };

    static std::vector<Mode> tableModes()
    {
        std::vector<Mode> modes;
        for (const ModeEntry &entry : modeTable())
            modes.push_back({entry.number, entry.caption, {}});
        return modes;
    }

    std::unique_ptr<QMainWindow> typing(TypingLanguage language, const QString &line)
    {
        m_fakes.answer = writeTestFile(folder, QStringLiteral("one.txt"), line.toUtf8());
        auto window = std::make_unique<TypingWindow>(language, TypingDevices{services, services, m_fakes, m_fakes, m_fakes});
        window->open();
        if (!line.isEmpty()) {
            window->mnuFileOpen_Click();
            auto *input = window->findChild<QPlainTextEdit *>(QStringLiteral("txtNyuryoku"));
            QTest::keyClick(input, Qt::Key_Return);
            input->insertPlainText(line.left(line.size() / 2));
        }
        return window;
    }

    QString keptRuns(const QString &mode)
    {
        const QString path = folder.filePath(QStringLiteral("records.sqlite"));
        RecordStore store(path, QStringLiteral("fits"));
        if (store.open() != StoreProblem::None)
            return {};
        std::vector<RunRecord> runs(12);
        for (int i = 0; i < 12; ++i) {
            RunRecord &run = runs[std::size_t(i)];
            run.mode = mode;
            run.started = QDateTime(QDate(2024, 12, 28), QTime(23, 40 + i));
            run.score = -888;
            run.cutShort = true;
            run.missedKeys = {{QStringLiteral("Ｗ"), i + 1}};
            run.charsPerMinute = 888;
            run.accuracy = 1;
        }
        return store.insertAll(runs) == StoreProblem::None ? path : QString();
    }

    TypingFakes m_fakes;
    ModeRegistry m_registry{tableModes()};
    std::unique_ptr<RecordKeeper> m_keeper;
};

} // namespace hoshi::testing
