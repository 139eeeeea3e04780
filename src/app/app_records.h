// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QMainWindow;

namespace hoshi {

class Announcer;
class RecordKeeper;
class RecordsWindow;
class RunRecorder;

/// The records of one run of the program: the keeper and its thread (none
/// with --no-records, when nothing is read or written), the records window,
/// and the entries every window's menu bar gets to reach them.
class AppRecords {
public:
    AppRecords(bool keep, Announcer &announcer);
    ~AppRecords();

    RunRecorder *recorder();
    /// Opens the database on its thread, after the first paint.
    void start();
    void openWindow();
    /// "きろく(&K)" on the window's menu bar, and in the finger windows
    /// (modes 2 to 4) "にがてなキー(&W)", which says the keys missed most.
    void addEntries(QMainWindow &window, int modeNumber);

private:
    void sayWeakKeys(const QString &mode);

    Announcer &m_announcer;
    std::unique_ptr<RecordKeeper> m_keeper;
    std::unique_ptr<RecordsWindow> m_window;
};

} // namespace hoshi
