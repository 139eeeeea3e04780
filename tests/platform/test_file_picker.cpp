// The practice-file dialog, driven from the keyboard as a user (or an
// end-to-end script) does: a full path typed into the file-name box, Return.
#include "platform/file_picker.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using hoshi::DialogFilePicker;

namespace {

struct SeenDialog {
    QStringList nameFilters;
    QString directory;
    bool native = true;
    bool modal = false;
};

// Runs action on the file dialog as soon as it is open (exec() blocks the test).
void whenDialogOpens(SeenDialog &seen, std::function<void(QFileDialog &)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, action] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        // Keys typed before the dialog is active and settled are lost, as a user's would be.
        if (!QTest::qWaitForWindowActive(dialog)) {
            dialog->reject();
            return;
        }
        seen = {dialog->nameFilters(), dialog->directory().absolutePath(),
                !dialog->testOption(QFileDialog::DontUseNativeDialog), dialog->isModal()};
        action(*dialog);
    });
    poll->start();
}

void typeIntoFileNameBox(QFileDialog &dialog, const QString &text, Qt::Key finish)
{
    auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!box) {
        dialog.reject();
        return;
    }
    box->setFocus();
    // Latin characters as keys; the rest as an input method commits them.
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(box, &commit);
        }
    }
    QTest::keyClick(box, finish);
}

// Notes the text of the next message box and closes it.
void closeNextMessageBox(QString &text)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        text = box->text();
        box->done(QMessageBox::Ok);
    });
    poll->start();
}

void writeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("abc\n");
}

} // namespace

class TestFilePicker : public QObject {
    Q_OBJECT
private slots:
    void a_typed_full_path_and_return_choose_that_file()
    {
        // State: a practice file with a Japanese name in a folder of its own.
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("練習.txt"));
        writeFile(file);
        DialogFilePicker picker;
        SeenDialog seen;
        whenDialogOpens(seen, [&file](QFileDialog &dialog) {
            typeIntoFileNameBox(dialog, file, Qt::Key_Return);
        });
        // Action: open the dialog, type the path, press Return.
        const QString chosen = picker.chooseTextFile(nullptr);
        // Expected: that path; the dialog offered text files only, Qt's own dialog, modal.
        QCOMPARE(chosen, file);
        QCOMPARE(seen.nameFilters, QStringList{QStringLiteral("テキスト ファイル (*.txt)")});
        QVERIFY(!seen.native);
        QVERIFY(seen.modal);
    }

    void escape_cancels_with_an_empty_path()
    {
        DialogFilePicker picker;
        SeenDialog seen;
        whenDialogOpens(seen, [](QFileDialog &dialog) {
            typeIntoFileNameBox(dialog, QStringLiteral("whatever.txt"), Qt::Key_Escape);
        });
        QCOMPARE(picker.chooseTextFile(nullptr), QString());
        QVERIFY(!seen.nameFilters.isEmpty()); // the dialog really opened
    }

    void a_missing_file_is_refused_with_a_message()
    {
        // State: a path to a file that does not exist.
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("nothing.txt"));
        DialogFilePicker picker;
        SeenDialog seen;
        QString message;
        bool stayedOpen = false;
        whenDialogOpens(seen, [&](QFileDialog &dialog) {
            closeNextMessageBox(message);
            typeIntoFileNameBox(dialog, missing, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            dialog.reject();
        });
        // Action: type its path and Return, then give up.
        const QString chosen = picker.chooseTextFile(nullptr);
        // Expected: the dialog said so and stayed open; nothing was chosen.
        QVERIFY(message.contains(QStringLiteral("nothing.txt")));
        QVERIFY(stayedOpen);
        QCOMPARE(chosen, QString());
    }

    void the_next_opening_starts_in_the_folder_of_the_last_choice()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("a.txt"));
        writeFile(file);
        DialogFilePicker picker;
        SeenDialog first;
        whenDialogOpens(first, [&file](QFileDialog &dialog) {
            typeIntoFileNameBox(dialog, file, Qt::Key_Return);
        });
        QCOMPARE(picker.chooseTextFile(nullptr), file);

        SeenDialog second;
        whenDialogOpens(second, [](QFileDialog &dialog) { dialog.reject(); });
        QCOMPARE(picker.chooseTextFile(nullptr), QString());
        QCOMPARE(second.directory, QDir(folder.path()).absolutePath());
    }
};

QTEST_MAIN(TestFilePicker)
#include "test_file_picker.moc"
