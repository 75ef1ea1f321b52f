#include "app/gui/MainWindowControls.h"

#include "base/gui/NamedWidgets.h"
#include "base/gui/UiFonts.h"
#include "link/gui/AccessTimeEstimate.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The words of the main window's controls and menus.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(MainWindowControls)
};

QAction* addAction(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

// デバイス: what the chip holds, between Options and Help.
void buildDeviceMenu(QMenuBar* bar, MainWindowControls& c)
{
    c.mnuDevice = named(bar->addMenu(Texts::tr("デバイス(&D)")), QStringLiteral("mnuDevice"));
    c.mnuVerify = addAction(c.mnuDevice, QStringLiteral("mnuVerify"), Texts::tr("ベリファイ(&V)"));
    c.mnuBlankCheck =
        addAction(c.mnuDevice, QStringLiteral("mnuBlankCheck"), Texts::tr("ブランクチェック(&B)"));
    c.mnuErase = addAction(c.mnuDevice, QStringLiteral("mnuErase"), Texts::tr("消去(&E)..."));
    c.mnuDevice->addSeparator();
    c.mnuVerifyAfterWrite = addAction(c.mnuDevice, QStringLiteral("mnuVerifyAfterWrite"),
                                      Texts::tr("書き込み後にベリファイ(&A)"));
    c.mnuVerifyAfterWrite->setCheckable(true);
    c.mnuVerifyAfterWrite->setChecked(true);
    c.mnuReadTwice =
        addAction(c.mnuDevice, QStringLiteral("mnuReadTwice"), Texts::tr("2回読んで比較(&R)"));
    c.mnuBackupBeforeWrite = addAction(c.mnuDevice, QStringLiteral("mnuBackupBeforeWrite"),
                                       Texts::tr("書き込み前にバックアップ(&K)"));
    c.mnuWriteChangedOnly = addAction(c.mnuDevice, QStringLiteral("mnuWriteChangedOnly"),
                                      Texts::tr("変更箇所だけ書き込む(&C)"));
    for (QAction* option : {c.mnuReadTwice, c.mnuBackupBeforeWrite, c.mnuWriteChangedOnly}) {
        option->setCheckable(true);
    }
    c.mnuBackupBeforeWrite->setChecked(true);
    c.mnuWriteChangedOnly->setChecked(true);
}

// Language / 言語, under Options. Its words are the same in every language, so that the menu is
// found whichever language the window shows; they are not translated.
void buildLanguageMenu(MainWindowControls& c)
{
    c.mnuTools->addSeparator();
    c.mnuLanguage = named(c.mnuTools->addMenu(QStringLiteral("Language / 言語")),
                          QStringLiteral("mnuLanguage"));
    c.mnuLanguageJa =
        addAction(c.mnuLanguage, QStringLiteral("mnuLanguageJa"), QStringLiteral("日本語"));
    c.mnuLanguageEn =
        addAction(c.mnuLanguage, QStringLiteral("mnuLanguageEn"), QStringLiteral("English"));
    auto* choices = new QActionGroup(c.mnuLanguage);
    for (QAction* choice : {c.mnuLanguageJa, c.mnuLanguageEn}) {
        choice->setCheckable(true);
        choices->addAction(choice);
    }
    c.mnuLanguageJa->setChecked(true);
}

QAction* addAction(QMenu* menu, const QString& name, const QString& caption,
                   const QKeySequence& shortcut)
{
    QAction* action = addAction(menu, name, caption);
    action->setShortcut(shortcut);
    return action;
}

void buildEditMenu(QMenuBar* bar, MainWindowControls& c)
{
    c.mnuEdit = named(bar->addMenu(Texts::tr("編集(&E)")), QStringLiteral("mnuEdit"));
    QMenu* m = c.mnuEdit;
    // The image's commands take their keys from the whole window, the byte editor's boxes too.
    c.mnuUndo = addAction(m, QStringLiteral("mnuUndo"), Texts::tr("元に戻す(&U)"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z));
    c.mnuRedo = addAction(m, QStringLiteral("mnuRedo"), Texts::tr("やり直し(&R)"));
    c.mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m->addSeparator();
    c.mnuCopy = addAction(m, QStringLiteral("mnuCopy"), Texts::tr("コピー(&C)"),
                          QKeySequence(Qt::CTRL | Qt::Key_C));
    c.mnuCopyText =
        addAction(m, QStringLiteral("mnuCopyText"), Texts::tr("テキストとしてコピー(&T)"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    c.mnuPaste = addAction(m, QStringLiteral("mnuPaste"), Texts::tr("貼り付け(&P)"),
                           QKeySequence(Qt::CTRL | Qt::Key_V));
    c.mnuSelectAll = addAction(m, QStringLiteral("mnuSelectAll"), Texts::tr("すべて選択(&A)"),
                               QKeySequence(Qt::CTRL | Qt::Key_A));
    c.mnuFill = addAction(m, QStringLiteral("mnuFill"), Texts::tr("塗りつぶし(&L)..."));
    m->addSeparator();
    c.mnuFind = addAction(m, QStringLiteral("mnuFind"), Texts::tr("検索(&F)..."),
                          QKeySequence(Qt::CTRL | Qt::Key_F));
    c.mnuFindNext = addAction(m, QStringLiteral("mnuFindNext"), Texts::tr("次を検索(&N)"),
                              QKeySequence(Qt::Key_F3));
    c.mnuFindPrevious = addAction(m, QStringLiteral("mnuFindPrevious"), Texts::tr("前を検索(&V)"),
                                  QKeySequence(Qt::SHIFT | Qt::Key_F3));
    c.mnuReplace = addAction(m, QStringLiteral("mnuReplace"), Texts::tr("置換(&H)..."),
                             QKeySequence(Qt::CTRL | Qt::Key_H));
    c.mnuGoTo = addAction(m, QStringLiteral("mnuGoTo"), Texts::tr("アドレスへ移動..."),
                          QKeySequence(Qt::CTRL | Qt::Key_G));
    m->addSeparator();
    c.mnuCopyChecksums =
        addAction(m, QStringLiteral("mnuCopyChecksums"), Texts::tr("チェックサムをコピー(&K)"));
    c.mnuView16 = addAction(m, QStringLiteral("mnuView16"), Texts::tr("16ビット表示(&W)"));
    c.mnuView16->setCheckable(true);
}

void buildMenus(QMainWindow* window, MainWindowControls& c)
{
    QMenuBar* bar = window->menuBar();

    c.mnuFile = named(bar->addMenu(Texts::tr("ファイル(&F)")), QStringLiteral("mnuFile"));
    c.mnuFileOpen =
        addAction(c.mnuFile, QStringLiteral("mnuFileOpen"), Texts::tr("ファイルをロード(&O)..."));
    c.mnuFileSaveAs =
        addAction(c.mnuFile, QStringLiteral("mnuFileSaveAs"), Texts::tr("名前を付けて保存(&A)..."));
    c.mnuLoadRange = addAction(c.mnuFile, QStringLiteral("mnuLoadRange"),
                               Texts::tr("ファイルを範囲に読み込む(&I)..."));
    c.mnuSaveSelection = addAction(c.mnuFile, QStringLiteral("mnuSaveSelection"),
                                   Texts::tr("選択範囲を保存(&E)..."));
    c.mnuFileRecent = named(c.mnuFile->addMenu(Texts::tr("最近使ったファイル(&R)")),
                            QStringLiteral("mnuFileRecent"));
    c.mnuFileCompare =
        addAction(c.mnuFile, QStringLiteral("mnuFileCompare"), Texts::tr("ファイルと比較(&M)..."));
    c.mnuFile->addSeparator();
    c.mnuOutPutTextFile = addAction(c.mnuFile, QStringLiteral("mnuOutPutTextFile"),
                                    Texts::tr("テキストデータとして出力"));
    c.mnuFile->addSeparator();
    c.mnuFilePageSetup =
        addAction(c.mnuFile, QStringLiteral("mnuFilePageSetup"), Texts::tr("ﾍﾟｰｼﾞ設定(&U)..."));
    c.mnuFilePrint = addAction(c.mnuFile, QStringLiteral("mnuFilePrint"), Texts::tr("印刷(&P)..."));
    c.mnuFileExitSeparator = c.mnuFile->addSeparator();
    c.mnuFileExit = addAction(c.mnuFile, QStringLiteral("mnuFileExit"), Texts::tr("終了(&X)"));
    // Page setup, print and the separator before Exit are kept but never shown.
    c.mnuFilePageSetup->setVisible(false);
    c.mnuFilePrint->setVisible(false);
    c.mnuFileExitSeparator->setVisible(false);

    buildEditMenu(bar, c);

    c.mnuTools = named(bar->addMenu(Texts::tr("オプション(&T)")), QStringLiteral("mnuTools"));
    c.mnuBufferClear =
        addAction(c.mnuTools, QStringLiteral("mnuBufferClear"), Texts::tr("バッファをクリア(&B)"));
    c.mnuTools->addSeparator();
    c.mnuBoardInfomation =
        addAction(c.mnuTools, QStringLiteral("mnuBoardInfomation"), Texts::tr("デバイス挿入方向"));
    c.mnuBoardInfomation->setCheckable(true);
    c.mnuBoardInfomation->setChecked(true);
    c.mnuTools->addSeparator();
    c.mnuToolsOptions =
        addAction(c.mnuTools, QStringLiteral("mnuToolsOptions"), Texts::tr("COMポート設定(&O)..."));
    c.mnuProduction =
        addAction(c.mnuTools, QStringLiteral("mnuProduction"), Texts::tr("量産(&P)..."));
    buildLanguageMenu(c);

    buildDeviceMenu(bar, c);

    c.mnuHelp = named(bar->addMenu(Texts::tr("ヘルプﾟ(&H)")), QStringLiteral("mnuHelp"));
    c.mnuHelpContents =
        addAction(c.mnuHelp, QStringLiteral("mnuHelpContents"), Texts::tr("目次(&C)"));
    c.mnuHelpSearchForHelpOn = addAction(c.mnuHelp, QStringLiteral("mnuHelpSearchForHelpOn"),
                                         Texts::tr("ﾄﾋﾟｯｸの検索(&S)..."));
    c.mnuHelpSearchForHelpOn->setVisible(false);
    c.mnuHelp->addSeparator();
    c.mnuHelpAbout =
        addAction(c.mnuHelp, QStringLiteral("mnuHelpAbout"), Texts::tr("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
}

// Line1 and Line2: an etched separator under the menu bar, two lines 20 twips (one pixel at
// 96 dpi) apart. The main window's load handler stretches them to the window's width.
QWidget* buildSeparator(MainWindowControls& c)
{
    auto* holder = new QWidget;
    holder->setFixedHeight(3);
    c.Line1 = named(new QFrame(holder), QStringLiteral("Line1"));
    c.Line2 = named(new QFrame(holder), QStringLiteral("Line2"));
    for (QFrame* line : {c.Line1, c.Line2}) {
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
    }
    c.Line1->setForegroundRole(QPalette::Dark);
    c.Line2->setForegroundRole(QPalette::Light);
    c.Line1->setGeometry(0, 0, 0, 1);
    c.Line2->setGeometry(0, 1, 0, 1);
    return holder;
}

QWidget* buildDeviceRow(MainWindowControls& c)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    c.Combo_device = named(new QComboBox, QStringLiteral("Combo_device"));
    c.Combo_device->setFont(UiFonts::fixedPitch(10));
    c.Combo_device->setMinimumWidth(360);
    c.Combo_device->setMaxVisibleItems(24);
    c.Lbl_PageSize = named(new QLabel(QStringLiteral("Label1")), QStringLiteral("Lbl_PageSize"));
    c.Lbl_PageSize->setMinimumWidth(200);
    c.DataCombo1 = named(new QComboBox, QStringLiteral("DataCombo1"));
    layout->addWidget(c.Combo_device);
    layout->addWidget(c.Lbl_PageSize, 1);
    layout->addWidget(c.DataCombo1);
    return row;
}

// The grid with Label1 beneath it: the label shows through only while the grid is hidden.
QWidget* buildGridArea(MainWindowControls& c)
{
    auto* area = new QWidget;
    auto* stack = new QStackedLayout(area);
    stack->setStackingMode(QStackedLayout::StackAll);
    c.Label1 = named(new QLabel(Texts::tr("しばらくお待ちください。")), QStringLiteral("Label1"));
    c.Label1->setAlignment(Qt::AlignCenter);
    QFont waitFont = c.Label1->font();
    waitFont.setPointSize(16);
    c.Label1->setFont(waitFont);
    c.MSFGrid1 = named(new QTableView, QStringLiteral("MSFGrid1"));
    stack->addWidget(c.Label1);
    stack->addWidget(c.MSFGrid1);
    stack->setCurrentWidget(c.MSFGrid1);
    return area;
}

QGroupBox* buildBlockAccess(MainWindowControls& c)
{
    c.Frame2 = named(new QGroupBox(Texts::tr("ﾌﾞﾛｯｸｱｸｾｽ(開始ｱﾄﾞﾚｽ0)")), QStringLiteral("Frame2"));
    auto* layout = new QGridLayout(c.Frame2);
    c.Cmd_READ_all = button(QStringLiteral("Cmd_READ_all"), Texts::tr("Block Read"));
    c.Cmd_WRITE_all = button(QStringLiteral("Cmd_WRITE_all"), Texts::tr("Block Write"));
    c.Label3 = named(new QLabel(Texts::tr("ｱｸｾｽｻｲｽﾞ　 (Byte)")), QStringLiteral("Label3"));
    c.CmbSize = named(new QComboBox, QStringLiteral("CmbSize"));
    c.CmbSize->setMaxVisibleItems(16);
    c.Cmd_VERIFY_all = button(QStringLiteral("Cmd_VERIFY_all"), Texts::tr("Verify"));
    layout->addWidget(c.Cmd_READ_all, 0, 0);
    layout->addWidget(c.Cmd_WRITE_all, 0, 1);
    layout->addWidget(c.Cmd_VERIFY_all, 0, 2);
    // The size row has a layout of its own, so that its label takes the room its words need
    // (they are longer in English) and the list the rest.
    auto* size = new QHBoxLayout;
    size->addWidget(c.Label3);
    size->addWidget(c.CmbSize, 1);
    layout->addLayout(size, 1, 0, 1, 3);
    return c.Frame2;
}

QGroupBox* buildByteAccess(MainWindowControls& c)
{
    c.Frame3 = named(new QGroupBox(Texts::tr("ﾊﾞｲﾄｱｸｾｽ")), QStringLiteral("Frame3"));
    auto* layout = new QGridLayout(c.Frame3);
    c.Cmd_READ_single = button(QStringLiteral("Cmd_READ_single"), Texts::tr("Byte Read"));
    c.Cmd_WRITE_single = button(QStringLiteral("Cmd_WRITE_single"), Texts::tr("Byte Write"));
    c.Label4 = named(new QLabel(Texts::tr("任意ｱﾄﾞﾚｽの１byteのｱｸｾｽ")), QStringLiteral("Label4"));
    layout->addWidget(c.Cmd_READ_single, 0, 0);
    layout->addWidget(c.Cmd_WRITE_single, 0, 1);
    layout->addWidget(c.Label4, 1, 0, 1, 2);
    return c.Frame3;
}

QGroupBox* buildByteEditor(MainWindowControls& c)
{
    c.Frame1 = named(new QGroupBox(Texts::tr("データ修正")), QStringLiteral("Frame1"));
    auto* layout = new QGridLayout(c.Frame1);
    const QStringList captions = {Texts::tr("Hex"), Texts::tr("Dec"), Texts::tr("Bin"),
                                  Texts::tr("Ascii")};
    for (int i = 0; i < 4; ++i) {
        c.Label2[i] = named(new QLabel(captions[i]), QStringLiteral("Label2(%1)").arg(i));
    }
    auto box = [](const QString& name, int maxLength) {
        auto* edit = named(new QLineEdit, name);
        edit->setMaxLength(maxLength);
        edit->setFont(UiFonts::fixedPitch(11));
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedWidth(48);
        return edit;
    };
    c.Text_modify_hex = box(QStringLiteral("Text_modify_hex"), 2);
    c.Text_modify_dec = box(QStringLiteral("Text_modify_dec"), 3);
    c.Text_modify_asc = box(QStringLiteral("Text_modify_asc"), 1);

    layout->addWidget(c.Label2[0], 0, 0, Qt::AlignHCenter);
    layout->addWidget(c.Label2[1], 0, 1, Qt::AlignHCenter);
    layout->addWidget(c.Label2[3], 0, 2, Qt::AlignHCenter);
    layout->addWidget(c.Text_modify_hex, 1, 0, Qt::AlignHCenter);
    layout->addWidget(c.Text_modify_dec, 1, 1, Qt::AlignHCenter);
    layout->addWidget(c.Text_modify_asc, 1, 2, Qt::AlignHCenter);

    auto* bits = new QHBoxLayout;
    bits->setSpacing(2);
    bits->addWidget(c.Label2[2]);
    bits->addSpacing(6);
    for (int i = 7; i >= 0; --i) {
        c.ChkBin[i] = named(new QCheckBox, QStringLiteral("ChkBin(%1)").arg(i));
        c.ChkBin[i]->setToolTip(Texts::tr("bit %1").arg(i));
        bits->addWidget(c.ChkBin[i]);
        if (i == 4) bits->addSpacing(10);  // two groups of four bits
    }
    bits->addStretch(1);
    layout->addLayout(bits, 2, 0, 1, 3);
    return c.Frame1;
}

QGroupBox* buildChecksum(MainWindowControls& c)
{
    c.Frame4 = named(new QGroupBox, QStringLiteral("Frame4"));
    auto* layout = new QHBoxLayout(c.Frame4);
    c.LblCheckSUM =
        named(new QLabel(QStringLiteral("CheckSum:xxxx")), QStringLiteral("LblCheckSUM"));
    c.LblCheckSUM->setFont(UiFonts::fixedPitch(12));
    c.LblCheckSUM->setAlignment(Qt::AlignCenter);
    layout->addWidget(c.LblCheckSUM);
    return c.Frame4;
}

QWidget* buildSidePanel(MainWindowControls& c)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildBlockAccess(c));
    layout->addWidget(buildByteAccess(c));
    layout->addWidget(buildByteEditor(c));
    layout->addWidget(buildChecksum(c));

    c.Cmd_Port = button(QStringLiteral("Cmd_Port"), Texts::tr("通信ポート"));
    c.Cmd_Open = button(QStringLiteral("Cmd_Open"), Texts::tr("開く"));
    c.Cmd_SaveAs = button(QStringLiteral("Cmd_SaveAs"), Texts::tr("保存"));
    c.Command1 = button(QStringLiteral("Command1"), Texts::tr("ﾊﾞｯﾌｧ ｸﾘｱ"));
    auto* buttons = new QGridLayout;
    buttons->addWidget(c.Cmd_Open, 0, 0);
    buttons->addWidget(c.Cmd_SaveAs, 0, 1);
    buttons->addWidget(c.Command1, 1, 0);
    buttons->addWidget(c.Cmd_Port, 1, 1);
    layout->addLayout(buttons);

    c.Lbl_memo = named(new QLabel, QStringLiteral("Lbl_memo"));
    c.Lbl_memo->setWordWrap(true);
    layout->addWidget(c.Lbl_memo, 1);
    c.RichTextBox1 =
        named(new QTextEdit(QStringLiteral("RichTextBox1")), QStringLiteral("RichTextBox1"));
    c.RichTextBox1->setVisible(false);
    layout->addWidget(c.RichTextBox1);
    panel->setFixedWidth(300);
    return panel;
}

// Right of the four panels, while an access runs: the progress bar, its time text and the
// cancel button. Idle, they give their room back to the panels.
void buildAccessProgress(MainWindowControls& c)
{
    // Narrow enough to leave panel 1 its status text beside the four panels.
    c.PrgAccess = named(new QProgressBar, QStringLiteral("PrgAccess"));
    c.PrgAccess->setRange(0, 100);
    c.PrgAccess->setFixedWidth(80);
    c.PrgAccess->setMaximumHeight(c.statusPanels[0]->sizeHint().height() + 4);
    c.PrgAccess->setVisible(false);
    c.Lbl_AccessTime = named(new QLabel, QStringLiteral("Lbl_AccessTime"));
    // Room for the elapsed and remaining time, so that the text does not move as the seconds
    // change.
    const QString sample = AccessTimeEstimate().text(LinkClock::Duration{0}, 1, 2);
    c.Lbl_AccessTime->setMinimumWidth(c.Lbl_AccessTime->fontMetrics().horizontalAdvance(sample) +
                                      4);
    c.Lbl_AccessTime->setVisible(false);
    c.Cmd_Cancel = button(QStringLiteral("Cmd_Cancel"), Texts::tr("中止"));
    c.Cmd_Cancel->setFixedWidth(
        c.Cmd_Cancel->fontMetrics().horizontalAdvance(c.Cmd_Cancel->text()) + 24);
    c.Cmd_Cancel->setEnabled(false);
    c.Cmd_Cancel->setVisible(false);
    c.Cmd_Cancel->setToolTip(Texts::tr("実行中のアクセスを中止します (Esc)"));
    c.sbStatusBar->addPermanentWidget(c.PrgAccess);
    c.sbStatusBar->addPermanentWidget(c.Lbl_AccessTime);
    c.sbStatusBar->addPermanentWidget(c.Cmd_Cancel);
}

void buildStatusBar(QMainWindow* window, MainWindowControls& c)
{
    c.sbStatusBar = named(new QStatusBar, QStringLiteral("sbStatusBar"));
    c.sbStatusBar->setSizeGripEnabled(false);
    c.sbStatusBar->setContentsMargins(2, 0, 2, 0);  // the outer panels' frames off the edges
    // Panel 1 takes what is left; the others are as wide as their texts (StatusBarPanels).
    for (int i = 0; i < 4; ++i) {
        c.statusPanels[i] = named(new QLabel, QStringLiteral("Panel%1").arg(i + 1));
        c.statusPanels[i]->setFrameShape(QFrame::StyledPanel);
        c.statusPanels[i]->setFrameShadow(QFrame::Sunken);
        c.statusPanels[i]->setMinimumWidth(60);
        c.sbStatusBar->addWidget(c.statusPanels[i], i == 0 ? 1 : 0);
    }
    buildAccessProgress(c);
    window->setStatusBar(c.sbStatusBar);
}

}  // namespace

MainWindowControls buildMainWindowControls(QMainWindow* window)
{
    MainWindowControls c;
    buildMenus(window, c);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 0, 6, 4);
    layout->addWidget(buildSeparator(c));
    layout->addWidget(buildDeviceRow(c));
    c.Lbl_Spec = named(new QLabel(QStringLiteral("spec")), QStringLiteral("Lbl_Spec"));
    layout->addWidget(c.Lbl_Spec);

    auto* body = new QHBoxLayout;
    body->addWidget(buildGridArea(c), 1);
    body->addWidget(buildSidePanel(c));
    layout->addLayout(body, 1);

    window->setCentralWidget(central);
    buildStatusBar(window, c);
    return c;
}

DeviceControls MainWindowControls::device() const
{
    return {Combo_device, CmbSize, Lbl_PageSize, Lbl_Spec};
}

ImageControls MainWindowControls::image() const
{
    return {MSFGrid1,
            Command1,
            mnuBufferClear,
            mnuGoTo,
            mnuCopyChecksums,
            mnuView16,
            {Frame1, Text_modify_hex, Text_modify_dec, Text_modify_asc, ChkBin, LblCheckSUM}};
}

EditControls MainWindowControls::edit() const
{
    return {MSFGrid1->window(), mnuUndo,      mnuRedo,      mnuCopy,         mnuCopyText,
            mnuPaste,           mnuSelectAll, mnuFill,      mnuFind,         mnuFindNext,
            mnuFindPrevious,    mnuReplace,   mnuLoadRange, mnuSaveSelection};
}

FileControls MainWindowControls::files() const
{
    return {Cmd_Open, Cmd_SaveAs, mnuFileOpen, mnuFileSaveAs, mnuFileRecent, mnuOutPutTextFile};
}

AccessControls MainWindowControls::access() const
{
    return {MSFGrid1->window(),  Cmd_READ_all,   Cmd_WRITE_all,        Cmd_READ_single,
            Cmd_WRITE_single,    Cmd_VERIFY_all, Cmd_Cancel,           PrgAccess,
            Lbl_AccessTime,      mnuVerify,      mnuBlankCheck,        mnuErase,
            mnuVerifyAfterWrite, mnuReadTwice,   mnuBackupBeforeWrite, mnuWriteChangedOnly};
}

PortControls MainWindowControls::port() const { return {Cmd_Port, mnuToolsOptions}; }

LanguageControls MainWindowControls::language() const { return {mnuLanguageJa, mnuLanguageEn}; }

AuxiliaryControls MainWindowControls::auxiliary() const
{
    return {mnuBoardInfomation, mnuHelpContents, mnuHelpAbout, MSFGrid1};
}

ProductionControls MainWindowControls::production() const
{
    return {MSFGrid1->window(), mnuProduction};
}
