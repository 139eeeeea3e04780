// SPDX-License-Identifier: GPL-3.0-or-later
// The practice-file dialog, driven from the keyboard as a user does: a full path typed
// into the file-name box and Return, or Up and Down through the folder; and what it shows.
#include "platform/files/file_picker.h"
#include "support/test_files.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <functional>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using hoshi::DialogFilePicker;
using hoshi::testing::writeTestFile;

namespace {

// Runs action on the first modal widget of type T once it is open and active
// (exec() blocks the test); what an action leaves open (a check in it failed) is closed after 30 s.
template <typename T>
void whenOpen(std::function<void(T &)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!widget || !widget->isVisible() || !widget->isActiveWindow())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(30000, widget, [] {
            while (QWidget *open = QApplication::activeModalWidget())
                open->close(), open->hide();
        });
        action(*widget);
    });
    poll->start(10);
}

QLineEdit *nameBox(QFileDialog &dialog) { return dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); }

// Types into the file-name box: Latin characters as keys, the rest as an input method commits them.
void typeIntoFileNameBox(QFileDialog &dialog, const QString &text)
{
    QLineEdit *box = nameBox(dialog);
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
    QTest::keyClick(box, Qt::Key_Return);
}

// A folder "sub", "a.txt", "b.txt", and "c.csv", which the dialog does not offer.
void fillFolder(const QTemporaryDir &folder)
{
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    for (const char *name : {"a.txt", "b.txt", "c.csv"})
        writeTestFile(folder, QString::fromLatin1(name), "abc");
}

// The rows shown of the folder, as "name|size|type".
QStringList shownRows(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        QStringList cells;
        for (int column = 0; column < 3; ++column)
            cells << view->model()->index(row, column, view->rootIndex()).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

// What fillFolder() shows once the dialog has read it: folders first, Japanese sizes and types.
const QStringList Filled{"sub||フォルダー", "a.txt|3 バイト|テキスト ファイル", "b.txt|3 バイト|テキスト ファイル"};

hoshi::TextFileRequest openIn(const QString &folder, QList<std::pair<QString, bool>> *focused = nullptr)
{
    hoshi::TextFileRequest request;
    request.startFolder = folder;
    if (focused)
        request.entryFocused = [focused](const QString &name, bool isFolder) { focused->append({name, isFolder}); };
    return request;
}

} // namespace

class TestFilePicker : public QObject {
    Q_OBJECT

private slots:
    void a_typed_path_chooses_that_file_and_a_missing_one_is_refused()
    {
        // State: a practice file with a Japanese name elsewhere; a box of the program's own open already.
        QTemporaryDir folder, elsewhere;
        fillFolder(folder);
        const QString file = writeTestFile(elsewhere, QStringLiteral("練習.txt"), "abc");
        hoshi::TextFileRequest request = openIn(folder.path());
        QStringList reported;
        request.boxShown = [&reported](const QString &text) { reported << text; };
        QMessageBox other(QMessageBox::Information, QStringLiteral("x"), QStringLiteral("not the dialog's"));
        QString message;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            // Where asked, text files only, Qt's own dialog, modal; Japanese headers, types and sizes.
            QCOMPARE(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());
            QCOMPARE(dialog.nameFilters(), QStringList{QStringLiteral("テキスト ファイル (*.txt)")});
            QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog) && dialog.isModal());
            auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
            QStringList headers, toolButtons;
            for (int column = 0; column < 4; ++column)
                headers << view->model()->headerData(column, Qt::Horizontal).toString();
            QCOMPARE(headers, (QStringList{"名前", "サイズ", "種類", "更新日時"}));
            QTRY_COMPARE(shownRows(dialog), Filled);
            // Words, not icons that show as empty squares without an icon theme; no text below 16 points.
            for (const QToolButton *button : dialog.findChildren<QToolButton *>())
                if (button->isVisible())
                    toolButtons << (button->toolButtonStyle() == Qt::ToolButtonTextOnly ? button->text() : QString());
            QVERIFY2(!toolButtons.isEmpty() && !toolButtons.contains(QString()), qPrintable(toolButtons.join(u',')));
            QCoreApplication::processEvents();
            for (const QWidget *widget : dialog.findChildren<QWidget *>())
                if (widget->isVisible() && !widget->inherits("QScrollBar"))
                    QVERIFY2(widget->font().pointSizeF() >= 16, widget->metaObject()->className());
            // The focused name box is framed: its edge changes when the focus comes.
            view->setFocus();
            const QImage unfocused = nameBox(dialog)->grab().toImage();
            nameBox(dialog)->setFocus();
            const QImage focused = nameBox(dialog)->grab().toImage();
            const QPoint edge(static_cast<int>(4 * focused.devicePixelRatio()), focused.height() / 2);
            QVERIFY(focused.pixelColor(edge) != unfocused.pixelColor(edge));
            // A path to no file and Return: the dialog says so in its large type and stays open.
            whenOpen<QMessageBox>([&](QMessageBox &box) {
                message = box.font().pointSizeF() >= 16 ? box.text() : QStringLiteral("small type");
                box.done(QMessageBox::Ok);
            });
            other.show();
            typeIntoFileNameBox(dialog, folder.filePath(QStringLiteral("nothing.txt")));
            other.hide(); // back to the dialog, as the user comes back to it
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            nameBox(dialog)->clear();
            typeIntoFileNameBox(dialog, file);
        });
        QCOMPARE(DialogFilePicker().chooseTextFile(nullptr, request), file);
        QVERIFY2(message.contains(QStringLiteral("nothing.txt")), qPrintable(message));
        // ...and its box, not the other, was reported with its text as it stands.
        QCOMPARE(reported, QStringList{message});
    }

    void keys_in_the_name_box_move_through_the_folder_data()
    {
        // Keys pressed in the name box of a filled folder; pad and Shift+ keys as a child's fingers slip.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("boxTexts"); // after each key
        QTest::addColumn<QString>("chosen");       // by Return at the end; empty: nothing is pressed
        QTest::newRow("down and back up") << "Down Down Down Up" << QStringList{"sub", "a.txt", "b.txt", "a.txt"} << "a.txt";
        QTest::newRow("past either end it stays there")
            << "Down Up Down Down Down Down" << QStringList{"sub", "sub", "a.txt", "b.txt", "b.txt", "b.txt"} << "b.txt";
        QTest::newRow("a page down and up go to the last and the first")
            << "Down PageDown PageUp PageDown" << QStringList{"sub", "b.txt", "sub", "b.txt"} << "b.txt";
        QTest::newRow("the pad's arrows move too") << "PadDown PadDown" << QStringList{"sub", "a.txt"} << "a.txt";
        QTest::newRow("Shift or Ctrl with an arrow stays in the box") << "ShiftDown CtrlDown" << QStringList{"", ""} << "";
    }

    void keys_in_the_name_box_move_through_the_folder()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, boxTexts);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        fillFolder(folder);
        QList<std::pair<QString, bool>> focused;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            QTRY_COMPARE(shownRows(dialog), Filled);
            QLineEdit *box = nameBox(dialog);
            // Part of a name typed (the list follows it) stays as typed; then cleared.
            QTest::keyClicks(box, QStringLiteral("b.txt"));
            QCOMPARE(box->text(), QStringLiteral("b.txt"));
            box->clear();
            focused.clear();
            const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
                {"Down", {Qt::Key_Down, {}}}, {"Up", {Qt::Key_Up, {}}}, {"PageDown", {Qt::Key_PageDown, {}}},
                {"PageUp", {Qt::Key_PageUp, {}}}, {"PadDown", {Qt::Key_Down, Qt::KeypadModifier}},
                {"ShiftDown", {Qt::Key_Down, Qt::ShiftModifier}}, {"CtrlDown", {Qt::Key_Down, Qt::ControlModifier}}};
            QStringList texts;
            for (const QString &key : keys.split(u' ')) {
                QTest::keyClick(box, named.at(key).first, named.at(key).second);
                texts << box->text();
            }
            // Each entry reached was put into the box; the box kept the keyboard.
            QCOMPARE(texts, boxTexts);
            QVERIFY(box->hasFocus());
            if (chosen.isEmpty())
                dialog.reject();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        const QString result = DialogFilePicker().chooseTextFile(nullptr, openIn(folder.path(), &focused));
        // Each entry reached was reported (the folder as one, each move once); Return opened the one reached last.
        QList<std::pair<QString, bool>> reached;
        for (const QString &name : boxTexts)
            if (!name.isEmpty() && (reached.isEmpty() || reached.last().first != name))
                reached.append({name, name == QLatin1String("sub")});
        QCOMPARE(focused, reached);
        QCOMPARE(result, chosen.isEmpty() ? QString() : folder.filePath(chosen));
    }

    void typed_folders_are_entered_and_names_qt_cannot_list_are_reported()
    {
        // State: names written as raw bytes that are not UTF-8 (Shift_JIS あ): in the start
        // folder only a file the dialog does not offer and a hidden one; in "sub" a text file
        // beside one whose name has a line break; in "sub2" a folder.
        QTemporaryDir folder;
        const QDir root(folder.path());
        QVERIFY(root.mkpath(QStringLiteral("sub")) && root.mkpath(QStringLiteral("sub2")));
        writeTestFile(folder, QStringLiteral("sub/line\nbreak.txt"), "abc");
        const QByteArray base = QFile::encodeName(folder.path());
        const QByteArray files[]{"/\x82\xA0.csv", "/.\x82\xA0.txt", "/sub/\x82\xA0.TXT"};
        // Qt leaves the names out when it empties the folder too.
        const auto removeRawNames = qScopeGuard([&] {
            for (const QByteArray &name : files)
                ::unlink((base + name).constData());
            ::rmdir((base + "/sub2/\x82\xA0").constData());
        });
        for (const QByteArray &name : files) {
            const int fd = ::open((base + name).constData(), O_CREAT | O_WRONLY, 0644);
            QVERIFY(fd >= 0 && ::write(fd, "abc", 3) == 3 && ::close(fd) == 0);
        }
        QCOMPARE(::mkdir((base + "/sub2/\x82\xA0").constData(), 0755), 0);
        QList<std::pair<QString, bool>> focused;
        hoshi::TextFileRequest request = openIn(folder.path(), &focused);
        QStringList reported;
        request.unlistedNames = [&reported](const QString &path) { reported << path; };
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            // Into "sub" by its typed path, Down once its entry is there; then into "sub2".
            typeIntoFileNameBox(dialog, root.filePath(QStringLiteral("sub")));
            QTRY_COMPARE(shownRows(dialog).size(), 1);
            QTest::keyClick(nameBox(dialog), Qt::Key_Down);
            nameBox(dialog)->clear();
            typeIntoFileNameBox(dialog, root.filePath(QStringLiteral("sub2")));
            dialog.reject();
        });
        DialogFilePicker().chooseTextFile(nullptr, request);
        // Each folder entered and the file reached are reported, and each folder holding names left out once.
        const QList<std::pair<QString, bool>> expected{{"sub", true}, {"line\nbreak.txt", false}, {"sub2", true}};
        QCOMPARE(focused, expected);
        QCOMPARE(reported, (QStringList{root.filePath(QStringLiteral("sub")), root.filePath(QStringLiteral("sub2"))}));
    }
};

QTEST_MAIN(TestFilePicker)
#include "test_file_picker.moc"
