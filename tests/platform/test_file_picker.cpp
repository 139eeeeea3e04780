// The practice-file dialog, driven from the keyboard as a user (or an
// end-to-end script) does: a full path typed into the file-name box, Return.
#include "platform/file_picker.h"
#include "support/test_files.h"

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

// Runs action on the first modal widget of type T once it is open and active
// (exec() blocks the test); keys typed before that are lost, as a user's would be.
template <typename T>
void whenOpen(std::function<void(T &)> action)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!widget || !widget->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        if (QTest::qWaitForWindowActive(widget))
            action(*widget);
        else
            widget->close();
    });
    poll->start();
}

// Types into the file-name box: Latin characters as keys, the rest as an input method commits them.
void typeIntoFileNameBox(QFileDialog &dialog, const QString &text, Qt::Key finish)
{
    auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!box)
        return dialog.reject();
    box->setFocus();
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

QString writeFile(const QTemporaryDir &folder, const QString &name)
{
    return hoshi::testing::writeTestFile(folder, name, "abc\n");
}

} // namespace

class TestFilePicker : public QObject {
    Q_OBJECT
private slots:
    void a_typed_full_path_and_return_choose_that_file()
    {
        // State: a practice file with a Japanese name in a folder of its own.
        QTemporaryDir folder;
        const QString file = writeFile(folder, QStringLiteral("練習.txt"));
        DialogFilePicker picker;
        QStringList filters;
        bool ownDialog = false;
        bool modal = false;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            filters = dialog.nameFilters();
            ownDialog = dialog.testOption(QFileDialog::DontUseNativeDialog);
            modal = dialog.isModal();
            typeIntoFileNameBox(dialog, file, Qt::Key_Return);
        });
        // Action: open the dialog, type the path, press Return.
        // Expected: that path; the dialog offered text files only, Qt's own dialog, modal.
        QCOMPARE(picker.chooseTextFile(nullptr), file);
        QCOMPARE(filters, QStringList{QStringLiteral("テキスト ファイル (*.txt)")});
        QVERIFY(ownDialog && modal);
        // Action: open it again, Escape. Expected: nothing chosen; it started in the last file's folder.
        QString directory;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            directory = dialog.directory().absolutePath();
            typeIntoFileNameBox(dialog, QStringLiteral("whatever.txt"), Qt::Key_Escape);
        });
        QCOMPARE(picker.chooseTextFile(nullptr), QString());
        QCOMPARE(directory, QDir(folder.path()).absolutePath());
    }

    void a_missing_file_is_refused_with_a_message()
    {
        // State: a path to a file that does not exist. Action: type it and Return, then give up.
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("nothing.txt"));
        DialogFilePicker picker;
        QString message;
        bool stayedOpen = false;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            whenOpen<QMessageBox>([&message](QMessageBox &box) {
                message = box.text();
                box.done(QMessageBox::Ok);
            });
            typeIntoFileNameBox(dialog, missing, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            dialog.reject();
        });
        const QString chosen = picker.chooseTextFile(nullptr);
        // Expected: the dialog said so and stayed open; nothing was chosen.
        QVERIFY(message.contains(QStringLiteral("nothing.txt")));
        QVERIFY(stayedOpen);
        QCOMPARE(chosen, QString());
    }
};

QTEST_MAIN(TestFilePicker)
#include "test_file_picker.moc"
