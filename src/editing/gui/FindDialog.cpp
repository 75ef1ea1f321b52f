#include "editing/gui/FindDialog.h"

#include "base/gui/NamedWidgets.h"
#include "base/gui/UiFonts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(tr("検索と置換"));
    setModal(false);

    FindForm = named(new QComboBox, QStringLiteral("FindForm"));
    FindForm->addItems({tr("16進数"), QStringLiteral("ASCII"), QStringLiteral("Shift_JIS")});
    FindText = named(new QLineEdit, QStringLiteral("FindText"));
    ReplaceText = named(new QLineEdit, QStringLiteral("ReplaceText"));
    for (QLineEdit* box : {FindText, ReplaceText}) {
        box->setFont(UiFonts::fixedPitch(10));
        box->setMinimumWidth(280);
    }
    auto* formLabel = named(new QLabel(tr("形式(&T):")), QStringLiteral("LblFindForm"));
    auto* findLabel = named(new QLabel(tr("検索する内容(&F):")), QStringLiteral("LblFindText"));
    auto* replaceLabel =
        named(new QLabel(tr("置換後の内容(&W):")), QStringLiteral("LblReplaceText"));
    formLabel->setBuddy(FindForm);
    findLabel->setBuddy(FindText);
    replaceLabel->setBuddy(ReplaceText);

    auto* fields = new QGridLayout;
    fields->addWidget(formLabel, 0, 0);
    fields->addWidget(FindForm, 0, 1);
    fields->addWidget(findLabel, 1, 0);
    fields->addWidget(FindText, 1, 1);
    fields->addWidget(replaceLabel, 2, 0);
    fields->addWidget(ReplaceText, 2, 1);

    Cmd_FindNext = button(QStringLiteral("Cmd_FindNext"), tr("次を検索(&N)"));
    Cmd_FindNext->setDefault(true);
    Cmd_FindPrevious = button(QStringLiteral("Cmd_FindPrevious"), tr("前を検索(&P)"));
    Cmd_Replace = button(QStringLiteral("Cmd_Replace"), tr("置換(&R)"));
    Cmd_ReplaceAll = button(QStringLiteral("Cmd_ReplaceAll"), tr("すべて置換(&A)"));
    Cmd_FindClose = button(QStringLiteral("Cmd_FindClose"), tr("閉じる"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b :
         {Cmd_FindNext, Cmd_FindPrevious, Cmd_Replace, Cmd_ReplaceAll, Cmd_FindClose}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(Cmd_FindNext, &QPushButton::clicked, this, &FindDialog::findNextRequested);
    connect(Cmd_FindPrevious, &QPushButton::clicked, this, &FindDialog::findPreviousRequested);
    connect(Cmd_Replace, &QPushButton::clicked, this, &FindDialog::replaceRequested);
    connect(Cmd_ReplaceAll, &QPushButton::clicked, this, &FindDialog::replaceAllRequested);
    connect(Cmd_FindClose, &QPushButton::clicked, this, &FindDialog::close);
    // F3 and Shift+F3 go on finding from here as from the main window.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, &FindDialog::findNextRequested);
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, &FindDialog::findPreviousRequested);
}

SearchPattern::Form FindDialog::form() const
{
    switch (FindForm->currentIndex()) {
        case 1:
            return SearchPattern::Form::Ascii;
        case 2:
            return SearchPattern::Form::ShiftJis;
        default:
            return SearchPattern::Form::Hex;
    }
}

QString FindDialog::findText() const { return FindText->text(); }

QString FindDialog::replaceText() const { return ReplaceText->text(); }

void FindDialog::showFor(bool replacing)
{
    show();
    raise();
    activateWindow();
    QLineEdit* box = replacing ? ReplaceText : FindText;
    box->setFocus();
    box->selectAll();
}

void FindDialog::setCommandsEnabled(bool enabled)
{
    for (QPushButton* b : {Cmd_FindNext, Cmd_FindPrevious, Cmd_Replace, Cmd_ReplaceAll}) {
        b->setEnabled(enabled);
    }
}

void FindDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    emit closed();
}
