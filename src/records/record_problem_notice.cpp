// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_problem_notice.h"

#include "platform/api/interfaces.h"

#include <QApplication>
#include <QMessageBox>

namespace hoshi {

QString recordProblemMessage(StoreProblem problem)
{
    const QString later = QStringLiteral("きろくは おぼえておいて、あとで かきます。");
    switch (problem) {
    case StoreProblem::None: return {};
    case StoreProblem::Locked: return QStringLiteral("きろくの ファイルを ほかの ほしのたまごが つかっています。") + later;
    case StoreProblem::ReadOnly: return QStringLiteral("きろくの ファイルに かきこめません。") + later;
    case StoreProblem::Full: return QStringLiteral("ディスクが いっぱいで、きろくを かけません。") + later;
    case StoreProblem::Corrupt:
        return QStringLiteral("きろくの ファイルが こわれていたので、べつの なまえで のこして、あたらしく はじめました。");
    case StoreProblem::Newer:
        return QStringLiteral("きろくの ファイルは あたらしい ほしのたまごの ものなので、かきかえません。"
                              "きろくは おわるまで おぼえておきます。");
    case StoreProblem::Failed: return QStringLiteral("きろくを かけません。") + later;
    }
    return {};
}

void tellRecordProblem(Announcer &announcer, StoreProblem problem)
{
    const QString message = recordProblemMessage(problem);
    if (message.isEmpty())
        return;
    announcer.announce(message);
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("きろく"), message, QMessageBox::Ok,
                                QApplication::activeWindow());
    box->setObjectName(QStringLiteral("recordsProblem"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace hoshi
