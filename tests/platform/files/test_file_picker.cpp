// SPDX-License-Identifier: GPL-3.0-or-later
// The practice-file dialog, driven from the keyboard as a user (or an
// end-to-end script) does: a full path typed into the file-name box and
// Return, or Up and Down through the folder and Return; and what it shows.
#include "platform/files/file_picker.h"
#include "support/test_files.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QToolButton>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using hoshi::DialogFilePicker;

namespace {

// Runs action on the first modal widget of type T once it is open and active
// (exec() blocks the test); keys typed before that are lost, as a user's would be.
// What an action leaves open (a check in it failed) is closed after 30 s.
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
        QTimer::singleShot(30000, widget, [] {
            while (QWidget *open = QApplication::activeModalWidget()) {
                open->close();
                open->hide();
            }
        });
        if (QTest::qWaitForWindowActive(widget))
            action(*widget);
        else
            widget->close();
    });
    poll->start();
}

QLineEdit *nameBox(QFileDialog &dialog)
{
    return dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

// Types into the file-name box: Latin characters as keys, the rest as an input method commits them.
void typeIntoFileNameBox(QFileDialog &dialog, const QString &text, Qt::Key finish)
{
    QLineEdit *box = nameBox(dialog);
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
    return hoshi::testing::writeTestFile(folder, name, "abc");
}

// A folder "sub", "a.txt", "b.txt", and "c.csv", which the dialog does not offer.
void fillFolder(const QTemporaryDir &folder)
{
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    for (const char *name : {"a.txt", "b.txt", "c.csv"})
        writeFile(folder, QString::fromLatin1(name));
}

QTreeView *details(QFileDialog &dialog)
{
    return dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
}

// The dialog's folder is read in the background: its rows, once all are there.
QStringList shownRows(QFileDialog &dialog, int expected)
{
    QTreeView *view = details(dialog);
    const QModelIndex root = view->rootIndex();
    // The model fills and sorts from a thread of its own: wait for both, folders first.
    const auto settled = [&] {
        if (view->model()->rowCount(root) != expected)
            return false;
        QList<std::pair<bool, QString>> shown;
        for (int row = 0; row < expected; ++row) {
            const QString name = view->model()->index(row, 0, root).data().toString();
            shown.push_back({!QFileInfo(dialog.directory().filePath(name)).isDir(), name});
        }
        return std::is_sorted(shown.begin(), shown.end());
    };
    if (!QTest::qWaitFor(settled))
        return {};
    QStringList rows;
    for (int row = 0; row < expected; ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << view->model()->index(row, column, root).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

hoshi::TextFileRequest openIn(const QString &folder, QList<std::pair<QString, bool>> *focused = nullptr)
{
    hoshi::TextFileRequest request;
    request.startFolder = folder;
    request.entryFocused = [focused](const QString &name, bool isFolder) {
        if (focused)
            focused->append({name, isFolder});
    };
    return request;
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
        QString directory;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            filters = dialog.nameFilters();
            ownDialog = dialog.testOption(QFileDialog::DontUseNativeDialog);
            modal = dialog.isModal();
            directory = dialog.directory().absolutePath();
            typeIntoFileNameBox(dialog, file, Qt::Key_Return);
        });
        // Action: open the dialog in another folder, type the path, press Return.
        // Expected: that path; it opened where asked, offered text files only, Qt's own dialog, modal.
        QTemporaryDir elsewhere;
        QCOMPARE(picker.chooseTextFile(nullptr, openIn(elsewhere.path())), file);
        QCOMPARE(directory, QDir(elsewhere.path()).absolutePath());
        QCOMPARE(filters, QStringList{QStringLiteral("テキスト ファイル (*.txt)")});
        QVERIFY(ownDialog && modal);
        // Action: open it on a folder that is gone, Escape. Expected: nothing chosen; it opened at home.
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            directory = dialog.directory().absolutePath();
            typeIntoFileNameBox(dialog, QStringLiteral("whatever.txt"), Qt::Key_Escape);
        });
        QCOMPARE(picker.chooseTextFile(nullptr, openIn(folder.filePath(QStringLiteral("gone")))), QString());
        QCOMPARE(directory, QDir::home().absolutePath());
    }

    void keys_in_the_name_box_move_through_the_folder_data()
    {
        // Keys pressed in the name box of a folder holding "sub", "a.txt" and "b.txt"
        // (and c.csv, not offered); pad and Shift+ keys as a child's fingers slip onto them.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("boxTexts"); // after each key
        QTest::addColumn<QString>("chosen");       // by Return at the end; empty: nothing is pressed
        QTest::newRow("down and back up") << "Down Down Down Up" << QStringList{"sub", "a.txt", "b.txt", "a.txt"} << "a.txt";
        QTest::newRow("past either end it stays there")
            << "Down Up Down Down Down Down" << QStringList{"sub", "sub", "a.txt", "b.txt", "b.txt", "b.txt"} << "b.txt";
        QTest::newRow("a page down and up go to the last and the first")
            << "Down PageDown PageUp PageDown" << QStringList{"sub", "b.txt", "sub", "b.txt"} << "b.txt";
        QTest::newRow("the pad's arrows move too") << "PadDown PadDown" << QStringList{"sub", "a.txt"} << "a.txt";
        QTest::newRow("Shift or Ctrl with an arrow stays in the box")
            << "ShiftDown CtrlDown" << QStringList{"", ""} << "";
    }

    void keys_in_the_name_box_move_through_the_folder()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, boxTexts);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        fillFolder(folder);
        DialogFilePicker picker;
        QList<std::pair<QString, bool>> focused;
        QStringList texts;
        QString typed;
        bool boxKeptFocus = false;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            QCOMPARE(shownRows(dialog, 3).size(), 3);
            QLineEdit *box = nameBox(dialog);
            // Part of a name typed (the list follows it) stays as typed; then cleared.
            QTest::keyClicks(box, QStringLiteral("b.txt"));
            typed = box->text();
            box->clear();
            focused.clear();
            const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
                {"Down", {Qt::Key_Down, {}}}, {"Up", {Qt::Key_Up, {}}}, {"PageDown", {Qt::Key_PageDown, {}}},
                {"PageUp", {Qt::Key_PageUp, {}}},
                {"PadDown", {Qt::Key_Down, Qt::KeypadModifier}}, {"ShiftDown", {Qt::Key_Down, Qt::ShiftModifier}},
                {"CtrlDown", {Qt::Key_Down, Qt::ControlModifier}}};
            for (const QString &key : keys.split(u' ')) {
                QTest::keyClick(box, named.at(key).first, named.at(key).second);
                texts << box->text();
            }
            boxKeptFocus = box->hasFocus();
            if (chosen.isEmpty())
                dialog.reject();
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        const QString result = picker.chooseTextFile(nullptr, openIn(folder.path(), &focused));
        // Each entry reached was put into the box and reported (the folder as one, each
        // move once); the box kept the keyboard; Return opened the entry reached last.
        QCOMPARE(typed, QStringLiteral("b.txt"));
        QCOMPARE(texts, boxTexts);
        QStringList reached;
        for (const auto &[name, isFolder] : focused) {
            reached << name;
            QCOMPARE(isFolder, name == QLatin1String("sub"));
        }
        boxTexts.removeAll(QString());
        boxTexts.erase(std::unique(boxTexts.begin(), boxTexts.end()), boxTexts.end());
        QCOMPARE(reached, boxTexts);
        QVERIFY(boxKeptFocus);
        QCOMPARE(result, chosen.isEmpty() ? QString() : folder.filePath(chosen));
    }

    void the_dialog_is_japanese_large_and_shows_where_the_focus_is()
    {
        QTemporaryDir folder;
        fillFolder(folder);
        DialogFilePicker picker;
        QStringList headers;
        QStringList rows;
        double smallestPoints = 100;
        QStringList toolButtons;
        QImage unfocused, focused;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            // Words, not icons a system without an icon theme draws as empty squares.
            for (const QToolButton *button : dialog.findChildren<QToolButton *>()) {
                if (button->isVisible())
                    toolButtons << (button->toolButtonStyle() == Qt::ToolButtonTextOnly ? button->text() : QString());
            }
            QTreeView *view = details(dialog);
            for (int column = 0; column < 4; ++column)
                headers << view->model()->headerData(column, Qt::Horizontal).toString();
            rows = shownRows(dialog, 3);
            QCoreApplication::processEvents();
            for (const QWidget *widget : dialog.findChildren<QWidget *>()) {
                if (widget->isVisible() && !widget->inherits("QScrollBar"))
                    smallestPoints = std::min(smallestPoints, widget->font().pointSizeF());
            }
            details(dialog)->setFocus();
            unfocused = nameBox(dialog)->grab().toImage();
            nameBox(dialog)->setFocus();
            focused = nameBox(dialog)->grab().toImage();
            dialog.reject();
        });
        picker.chooseTextFile(nullptr, openIn(folder.path()));
        // The focused name box is framed: its edge changes when the focus comes.
        const QPoint edge(static_cast<int>(4 * focused.devicePixelRatio()), focused.height() / 2);
        QVERIFY(!focused.isNull() && focused.pixelColor(edge) != unfocused.pixelColor(edge));
        // Japanese headers, types and sizes; no text smaller than the menus' 16 points (that
        // none is cut off: test_text_fits).
        QCOMPARE(headers, (QStringList{"名前", "サイズ", "種類", "更新日時"}));
        QCOMPARE(rows.value(0).section(u'|', 0, 2), QStringLiteral("sub||フォルダー"));
        QCOMPARE(rows.value(1).section(u'|', 0, 2), QStringLiteral("a.txt|3 バイト|テキスト ファイル"));
        QVERIFY2(smallestPoints >= 16, qPrintable(QString::number(smallestPoints)));
        QVERIFY(!toolButtons.isEmpty());
        QVERIFY2(!toolButtons.contains(QString()), qPrintable(toolButtons.join(u',')));
    }

    void a_missing_file_is_refused_with_a_message()
    {
        // State: a path to a file that does not exist; a box of the program's own open already.
        // Action: type the path and Return, then give up.
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("nothing.txt"));
        DialogFilePicker picker;
        hoshi::TextFileRequest request = openIn(folder.path());
        QStringList reported;
        request.boxShown = [&reported](const QString &text) { reported << text; };
        QMessageBox elsewhere(QMessageBox::Information, QStringLiteral("x"), QStringLiteral("not the dialog's"));
        QString message;
        double messagePoints = 0;
        bool stayedOpen = false;
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            whenOpen<QMessageBox>([&message, &messagePoints](QMessageBox &box) {
                message = box.text();
                messagePoints = box.font().pointSizeF();
                box.done(QMessageBox::Ok);
            });
            elsewhere.show();
            typeIntoFileNameBox(dialog, missing, Qt::Key_Return);
            stayedOpen = dialog.isVisible();
            dialog.reject();
        });
        const QString chosen = picker.chooseTextFile(nullptr, request);
        // Expected: the dialog said so in its large type and stayed open; nothing was chosen.
        QVERIFY(message.contains(QStringLiteral("nothing.txt")));
        QVERIFY(messagePoints >= 16);
        QVERIFY(stayedOpen);
        QCOMPARE(chosen, QString());
        // ...and its box, not the other, was reported with its text as it stands.
        QCOMPARE(reported, QStringList{message});
    }

    void typed_folders_are_entered_and_names_qt_cannot_list_are_reported()
    {
        // State: names written as raw bytes that are not UTF-8 (Shift_JIS あ): in the start
        // folder only a file the dialog does not offer and a hidden one; in "sub" a text file
        // beside one whose name has a line break; in "sub2" a folder.
        QTemporaryDir folder;
        const QDir root(folder.path());
        QVERIFY(root.mkpath(QStringLiteral("sub")) && root.mkpath(QStringLiteral("sub2")));
        writeFile(folder, QStringLiteral("sub/line\nbreak.txt"));
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
        DialogFilePicker picker;
        QList<std::pair<QString, bool>> focused;
        hoshi::TextFileRequest request = openIn(folder.path(), &focused);
        QStringList reported;
        request.unlistedNames = [&reported](const QString &path) { reported << path; };
        whenOpen<QFileDialog>([&](QFileDialog &dialog) {
            // Action: into "sub" by its typed path, Down once its entry is there; then into "sub2".
            typeIntoFileNameBox(dialog, root.filePath(QStringLiteral("sub")), Qt::Key_Return);
            shownRows(dialog, 1);
            QTest::keyClick(nameBox(dialog), Qt::Key_Down);
            nameBox(dialog)->clear();
            typeIntoFileNameBox(dialog, root.filePath(QStringLiteral("sub2")), Qt::Key_Return);
            dialog.reject();
        });
        picker.chooseTextFile(nullptr, request);
        // Expected: each folder entered is reported, and the file reached with its name as it is;
        // the two folders that hold names the dialog leaves out are reported, each once.
        const QList<std::pair<QString, bool>> expected{{"sub", true}, {"line\nbreak.txt", false}, {"sub2", true}};
        QCOMPARE(focused, expected);
        QCOMPARE(reported, (QStringList{root.filePath(QStringLiteral("sub")), root.filePath(QStringLiteral("sub2"))}));
    }
};

QTEST_MAIN(TestFilePicker)
#include "test_file_picker.moc"
