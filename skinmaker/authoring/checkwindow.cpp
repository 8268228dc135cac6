#include "checkwindow.h"

#include "skinwriter.h"

#include "skinmaker/core/skincheck.h"
#include "skinmaker/core/skinwrite.h"
#include "skinmaker/pictures/picturereader.h"
#include "skinmaker/words/checkwords.h"
#include "skinmaker/words/notices.h"

#include "platform/core/winpath.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace skinmaker::authoring {

CheckWindow::CheckWindow()
{
    setObjectName(QStringLiteral("检查皮肤"));
    setWindowTitle(QStringLiteral("检查皮肤"));
    platform::look::applyWindowLook(this);
    resize(760, 360);

    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("文件夹"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("问题"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("类型"), QStringLiteral("段"), QStringLiteral("设置"),
                                        QStringLiteral("值"), QStringLiteral("处理办法")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(false);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("结果"));
    m_tidy = new QPushButton(QStringLiteral("整理"), this);
    m_tidy->setObjectName(QStringLiteral("整理"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_folderLabel);
    layout->addWidget(m_table);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_summary, 1);
    bottom->addWidget(m_tidy);
    layout->addLayout(bottom);

    connect(m_tidy, &QPushButton::clicked, this, &CheckWindow::tidy);
}

bool CheckWindow::check(const core::SkinLocation &location)
{
    // Where 生成 would write, under the same checks.
    const platform::textfile::PreparedText place = core::prepareBlock(location, {}, {});
    if (!place.ready()) {
        platform::notice(words::writeNotice(place.outcome));
        return false;
    }
    m_folder = platform::nativePath(core::skinFolder(location).value_or(QString()));
    m_folderLabel->setText(m_folder);
    startCheck();
    return true;
}

void CheckWindow::startCheck()
{
    m_table->setRowCount(0);
    m_summary->setText(QStringLiteral("正在检查..."));
    m_tidy->setEnabled(false);
    // Pictures are decoded and skin.ini read (at most skinIniReadLimit bytes) off the window
    // thread, so a slow disk or large pictures never freeze the window.
    auto result = std::make_shared<core::SkinCheck>();
    const QString folder = m_folder;
    QThread *worker =
        QThread::create([result, folder] { *result = core::checkSkinFolder(folder, pictures::isDecodable); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, result, folder] {
        // A check of another folder started meanwhile brings its own result.
        if (folder == m_folder)
            showResult(*result);
    });
    worker->start();
}

void CheckWindow::showResult(const core::SkinCheck &result)
{
    m_tidy->setEnabled(result.status == core::SkinCheck::Checked);
    if (result.status != core::SkinCheck::Checked) {
        m_summary->setText(words::checkProblem(result));
        Q_EMIT checked();
        return;
    }
    m_table->setRowCount(int(result.findings.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const core::Finding &finding = result.findings.at(row);
        const QStringList cells{words::findingKind(finding.kind), finding.section, finding.key, finding.value,
                                words::findingAdvice(finding)};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_table->resizeColumnsToContents();
    m_summary->setText(words::findingsSummary(result.findings.size()));
    Q_EMIT checked();
}

void CheckWindow::tidy()
{
    const core::TidyOutcome plan = core::planTidy(m_folder);
    if (plan.kind != core::TidyOutcome::Tidied) {
        platform::notice(words::tidyOutcomeLine(plan));
        return;
    }
    if (!platform::ask(words::tidyQuestion(plan)))
        return;
    platform::notice(words::tidyOutcomeLine(core::tidySkinFolder(m_folder)));
    startCheck();
}

} // namespace skinmaker::authoring
