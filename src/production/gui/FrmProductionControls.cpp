#include "production/gui/FrmProductionControls.h"

#include "base/gui/NamedWidgets.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The words of the production window's controls.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(FrmProduction)
};

QLabel* label(const QString& name)
{
    auto* result = named(new QLabel, name);
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return result;
}

QTreeWidget* table(const QString& name, const QStringList& headings)
{
    auto* result = named(new QTreeWidget, name);
    result->setRootIsDecorated(false);
    result->setHeaderLabels(headings);
    result->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    result->header()->setStretchLastSection(true);
    return result;
}

QGroupBox* buildJob(FrmProductionControls& c)
{
    c.Frame_Job = named(new QGroupBox(Texts::tr("ジョブ")), QStringLiteral("Frame_Job"));
    auto* layout = new QGridLayout(c.Frame_Job);
    c.Cmd_OpenJob = button(QStringLiteral("Cmd_OpenJob"), Texts::tr("ジョブを開く..."));
    c.Lbl_JobFile = label(QStringLiteral("Lbl_JobFile"));
    c.Lbl_JobFile->setWordWrap(true);
    c.Lbl_JobPart = label(QStringLiteral("Lbl_JobPart"));
    c.Lbl_JobImage = label(QStringLiteral("Lbl_JobImage"));
    c.Lbl_JobImage->setWordWrap(true);
    c.Lbl_JobRange = label(QStringLiteral("Lbl_JobRange"));
    c.Lbl_JobRules = label(QStringLiteral("Lbl_JobRules"));
    c.Lst_Serials = table(QStringLiteral("Lst_Serials"),
                          {Texts::tr("項目"), Texts::tr("次の値"), Texts::tr("形式"),
                           Texts::tr("場所"), Texts::tr("値の範囲")});
    c.Lst_Serials->setMaximumHeight(110);
    layout->addWidget(c.Cmd_OpenJob, 0, 0);
    layout->addWidget(c.Lbl_JobFile, 0, 1);
    layout->addWidget(c.Lbl_JobPart, 1, 0, 1, 2);
    layout->addWidget(c.Lbl_JobImage, 2, 0, 1, 2);
    layout->addWidget(c.Lbl_JobRange, 3, 0, 1, 2);
    layout->addWidget(c.Lbl_JobRules, 4, 0, 1, 2);
    layout->addWidget(c.Lst_Serials, 5, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    return c.Frame_Job;
}

QGroupBox* buildBoards(FrmProductionControls& c)
{
    c.Frame_Boards = named(new QGroupBox(Texts::tr("ボード")), QStringLiteral("Frame_Boards"));
    auto* layout = new QVBoxLayout(c.Frame_Boards);
    c.Lst_Boards = named(new QListWidget, QStringLiteral("Lst_Boards"));
    c.Lst_Boards->setMaximumHeight(90);
    c.Cmd_AddPort = button(QStringLiteral("Cmd_AddPort"), Texts::tr("ポートを追加..."));
    c.Cmd_RemovePort = button(QStringLiteral("Cmd_RemovePort"), Texts::tr("外す"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.Cmd_AddPort);
    buttons->addWidget(c.Cmd_RemovePort);
    buttons->addStretch(1);
    layout->addWidget(c.Lst_Boards);
    layout->addLayout(buttons);
    return c.Frame_Boards;
}

QGroupBox* buildDatabase(FrmProductionControls& c)
{
    c.Frame_Database =
        named(new QGroupBox(Texts::tr("ラインデータベース")), QStringLiteral("Frame_Database"));
    auto* layout = new QGridLayout(c.Frame_Database);
    c.Lbl_Database = label(QStringLiteral("Lbl_Database"));
    c.Lbl_Database->setWordWrap(true);
    c.Lbl_Station = label(QStringLiteral("Lbl_Station"));
    c.Cmd_Database = button(QStringLiteral("Cmd_Database"), Texts::tr("変更..."));
    layout->addWidget(c.Lbl_Database, 0, 0);
    layout->addWidget(c.Cmd_Database, 0, 1, Qt::AlignTop);
    layout->addWidget(c.Lbl_Station, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    return c.Frame_Database;
}

QWidget* buildRound(FrmProductionControls& c)
{
    auto* round = new QWidget;
    auto* layout = new QVBoxLayout(round);
    layout->setContentsMargins(0, 0, 0, 0);
    c.Cmd_Round = button(QStringLiteral("Cmd_Round"), Texts::tr("ラウンド開始 (Enter)"));
    QFont large = c.Cmd_Round->font();
    large.setPointSize(large.pointSize() + 4);
    large.setBold(true);
    c.Cmd_Round->setFont(large);
    c.Cmd_Round->setMinimumHeight(48);
    c.Area_Boards = named(new QWidget, QStringLiteral("Area_Boards"));
    c.Grid_Boards = new QGridLayout(c.Area_Boards);
    c.Grid_Boards->setContentsMargins(0, 0, 0, 0);
    c.Lbl_Passed = label(QStringLiteral("Lbl_Passed"));
    c.Lbl_Failed = label(QStringLiteral("Lbl_Failed"));
    c.Lbl_Session = label(QStringLiteral("Lbl_Session"));
    QFont counter = c.Lbl_Passed->font();
    counter.setPointSize(counter.pointSize() + 2);
    counter.setBold(true);
    for (QLabel* each : {c.Lbl_Passed, c.Lbl_Failed, c.Lbl_Session}) each->setFont(counter);
    auto* counters = new QHBoxLayout;
    counters->addWidget(c.Lbl_Passed);
    counters->addWidget(c.Lbl_Failed);
    counters->addWidget(c.Lbl_Session);
    counters->addStretch(1);
    c.Lbl_LastSerial = label(QStringLiteral("Lbl_LastSerial"));
    c.Lbl_Status = label(QStringLiteral("Lbl_Status"));
    c.Lbl_Status->setWordWrap(true);
    layout->addWidget(c.Cmd_Round);
    layout->addWidget(c.Area_Boards, 1);
    layout->addLayout(counters);
    layout->addWidget(c.Lbl_LastSerial);
    layout->addWidget(c.Lbl_Status);
    return round;
}

QGroupBox* buildLog(FrmProductionControls& c)
{
    c.Frame_Log =
        named(new QGroupBox(Texts::tr("このセッションのログ")), QStringLiteral("Frame_Log"));
    auto* layout = new QVBoxLayout(c.Frame_Log);
    c.Lst_Log =
        table(QStringLiteral("Lst_Log"), {Texts::tr("時刻"), Texts::tr("ポート"), Texts::tr("結果"),
                                          Texts::tr("チップ"), Texts::tr("番号")});
    c.Cmd_ExportLog = button(QStringLiteral("Cmd_ExportLog"), Texts::tr("ログ全体を書き出す..."));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(c.Cmd_ExportLog);
    layout->addWidget(c.Lst_Log);
    layout->addLayout(buttons);
    return c.Frame_Log;
}

}  // namespace

FrmProductionControls buildFrmProductionControls(QWidget* window)
{
    FrmProductionControls c;
    auto* layout = new QHBoxLayout(window);
    auto* left = new QVBoxLayout;
    left->addWidget(buildJob(c));
    left->addWidget(buildBoards(c));
    left->addWidget(buildDatabase(c));
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildRound(c), 3);
    right->addWidget(buildLog(c), 2);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    return c;
}
