// The window in English (--lang en, or English chosen in the Language menu): a walk through
// every window, menu, status text, message box and dialog request that finds no Japanese
// character (the data file's own words aside), English texts that fit their controls, the
// Language menu, and the manual of the chosen language.
#include "base/SettingsStore.h"
#include "base/UiLanguage.h"
#include "image/GridAddress.h"
#include "image/HexGridModel.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "link/BoardFinder.h"
#include "link/PortHolders.h"
#include "link/gui/FrmCom.h"
#include "link/gui/FrmPortDevice.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedSerialDevices.h"
#include "support/WindowOnBoards.h"
#include "ui/gui/AboutWindow.h"
#include "ui/gui/AuxiliaryWindows.h"
#include "ui/gui/BoardWindow.h"
#include "ui/gui/SplashWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using namespace SettingsKeys;

namespace {

bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

// Every text a person can read in the windows and dialogs a test has gone through, with where
// it was found. Words that come from the data file (part names and notes, the file's version)
// are the user's own and are taken out before the texts are looked at.
class VisibleTexts {
public:
    explicit VisibleTexts(QStringList dataFileWords) : m_dataFileWords(std::move(dataFileWords))
    {
        // Longest first, so that a word inside another is not cut out of it first.
        std::sort(m_dataFileWords.begin(), m_dataFileWords.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }

    void add(const QString& where, const QString& text)
    {
        if (!text.isEmpty()) m_texts.append({where, text});
    }

    void addWindow(const QWidget* window)
    {
        QVERIFY(window);
        add(window->objectName() + QStringLiteral(" title"), window->windowTitle());
        addWidget(window);
        for (const QWidget* child : window->findChildren<QWidget*>()) addWidget(child);
    }

    void addMenu(const QMenu* menu)
    {
        if (menu->objectName() == u"mnuLanguage") return;  // the same words in every language
        add(menu->objectName(), menu->title());
        for (const QAction* action : menu->actions()) {
            if (action->menu()) {
                addMenu(action->menu());
            } else {
                add(action->objectName(), action->text());
                add(action->objectName() + QStringLiteral(" tip"), action->toolTip());
            }
        }
    }

    void addMessage(const MessageBoxRequest& message)
    {
        add(QStringLiteral("message"), message.text);
        add(QStringLiteral("message title"), message.title);
        add(QStringLiteral("message detail"), message.detail);
    }

    // "where: text" for every text with a Japanese character.
    [[nodiscard]] QStringList japanese() const
    {
        QStringList found;
        for (const auto& [where, text] : m_texts) {
            QString rest = text;
            for (const QString& word : m_dataFileWords) rest.remove(word);
            if (std::any_of(rest.begin(), rest.end(), isJapanese))
                found.append(where + ": " + text);
        }
        return found;
    }
    [[nodiscard]] bool contains(const QString& text) const
    {
        return std::any_of(m_texts.begin(), m_texts.end(),
                           [&](const auto& entry) { return entry.second == text; });
    }
    [[nodiscard]] int size() const { return int(m_texts.size()); }

private:
    void addWidget(const QWidget* widget)
    {
        const QString name = widget->objectName();
        add(name + QStringLiteral(" tip"), widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) add(name, label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            add(name, button->text());
        }
        if (const auto* box = qobject_cast<const QGroupBox*>(widget)) add(name, box->title());
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            add(name, edit->placeholderText());
        }
        if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                add(name, combo->itemText(i));
                add(name + QStringLiteral(" tip"), combo->itemData(i, Qt::ToolTipRole).toString());
            }
        }
        // A header shows its view's model, whose headings are read with the view.
        const auto* view = qobject_cast<const QAbstractItemView*>(widget);
        if (view && !qobject_cast<const QHeaderView*>(view)) addModel(name, view->model());
        if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
            for (const QAction* action : bar->actions()) {
                if (action->menu()) addMenu(action->menu());
            }
        }
    }

    void addModel(const QString& name, const QAbstractItemModel* model)
    {
        if (!model) return;
        for (int column = 0; column < model->columnCount(); ++column) {
            add(name + QStringLiteral(" heading"),
                model->headerData(column, Qt::Horizontal).toString());
        }
        // The first rows show what every row is made of; a grid of 8,192 rows need not be read.
        for (int row = 0; row < std::min(model->rowCount(), 300); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                // The grid's text column shows the memory's bytes as Shift_JIS characters.
                if (name == u"MSFGrid1" && column + 1 == GridAddress::kTextColumn) continue;
                add(name, model->index(row, column).data().toString());
                add(name + QStringLiteral(" tip"),
                    model->index(row, column).data(Qt::ToolTipRole).toString());
            }
        }
    }

    QStringList m_dataFileWords;
    QList<std::pair<QString, QString>> m_texts;
};

QString withoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

// A control whose text is narrower than the control's room for it (single-line texts only;
// labels that wrap make their own room).
QStringList cutTexts(const QWidget* window)
{
    QStringList cut;
    QList<const QWidget*> widgets{window};
    for (const QWidget* child : window->findChildren<QWidget*>()) widgets.append(child);
    for (const QWidget* widget : widgets) {
        if (!widget->isVisible()) continue;
        const QFontMetrics metrics = widget->fontMetrics();
        const QString name = widget->objectName();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->wordWrap() || label->text().isEmpty()) continue;
            for (const QString& line : label->text().split(QRegularExpression("\r?\n"))) {
                if (metrics.horizontalAdvance(line) > label->contentsRect().width()) {
                    cut.append(name + ": " + label->text());
                }
            }
        } else if (const auto* check = qobject_cast<const QCheckBox*>(widget)) {
            if (check->width() < check->sizeHint().width()) cut.append(name + ": " + check->text());
        } else if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            const int room = button->width() - 8;  // the frame and the least padding
            if (metrics.horizontalAdvance(withoutMnemonic(button->text())) > room) {
                cut.append(name + ": " + button->text());
            }
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            if (metrics.horizontalAdvance(box->title()) > box->width() - 16) {
                cut.append(name + ": " + box->title());
            }
        }
    }
    return cut;
}

}  // namespace

class EnglishWindowTest : public QObject, public WindowOnBoards {
    Q_OBJECT
private slots:
    void init()
    {
        setUp();
        m_desktop = FakeDesktopOpener();
        m_environment->copyTranslations();
        m_language = UiLanguage::English;
    }
    void cleanup()
    {
        m_finder.reset();
        m_settings.reset();
        tearDown();
    }

    void everyWindowSpeaksEnglish();
    void englishTextsFitTheirControls();
    void languageMenuStoresTheChoiceForTheNextStart_data();
    void languageMenuStoresTheChoiceForTheNextStart();
    void contentsOpenTheManualOfTheLanguage_data();
    void contentsOpenTheManualOfTheLanguage();
    void missingTranslationLeavesTheWindowJapanese();

private:
    // frmCom on scripted devices: one USB adapter, the other numbers lead nowhere.
    std::unique_ptr<FrmCom> portWindow()
    {
        m_devices.devices.clear();
        m_devices.add(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FTDI"),
                      QStringLiteral("FT232R"), QStringLiteral("A5"));
        m_finder = std::make_unique<BoardFinder>(
            [](const QString&) { return std::make_unique<FakeSerialPort>(); }, *m_clock, m_holders);
        // Made after the test's own settings folder is in place.
        m_settings = std::make_unique<SettingsStore>();
        auto frmCom = std::make_unique<FrmCom>(m_portForWindow, *m_settings, m_dialogs);
        frmCom->setPortLookup(m_devices, m_holders, *m_finder);
        frmCom->Form_Load();
        frmCom->show();
        QCoreApplication::processEvents();
        return frmCom;
    }
    // The data file's words: part names, list texts and values, and the file's version. The
    // part's note and its endurance are worded in English from the part's numbers.
    [[nodiscard]] QStringList dataFileWords() const
    {
        QStringList words{m_startup->state().dataFileVersion};
        const DeviceCatalogue& catalogue = m_startup->state().catalogue;
        for (int i = 0; i < catalogue.size(); ++i) {
            for (int field = 0; field < DeviceRecord::kFieldCount; ++field) {
                if (field == DeviceRecord::StatusNote || field == DeviceRecord::Endurance) continue;
                const QString word = catalogue.record(i).field(field);
                if (!word.isEmpty()) words.append(word);
            }
        }
        return words;
    }
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    ScriptedSerialDevices m_devices;
    PortHolders m_holders;
    std::unique_ptr<BoardFinder> m_finder;
    std::unique_ptr<SettingsStore> m_settings;
    FakeSerialPort m_portForWindow;
};

void EnglishWindowTest::everyWindowSpeaksEnglish()
{
    EmulatedBoard& board = addBoard(QStringLiteral("24C02"), 5);
    pointPortAt(board);
    QVERIFY(start());
    VisibleTexts texts(dataFileWords());
    texts.addWindow(m_startup->splashWindow());
    AuxiliaryWindows& auxiliary = *m_startup->auxiliaryWindows();
    texts.addWindow(auxiliary.boardWindow());
    controls().mnuHelpAbout->trigger();
    texts.addWindow(auxiliary.aboutWindow());
    const auto status = [&](const QString& after) {
        for (int panel = 1; panel <= 3; ++panel) texts.add(after, this->panel(panel));
    };

    // Reads, writes and checks, with a chip that differs from the image.
    selectDevice(QStringLiteral("24C02"));
    click(controls().Cmd_READ_all);
    status(QStringLiteral("Block Read"));
    QCOMPARE(panel(1).left(15), QStringLiteral("Read complete. "));
    QByteArray chip = board.contents();
    chip[0x10] = static_cast<char>(~chip.at(0x10));
    board.setContents(chip);
    click(controls().Cmd_VERIFY_all);
    status(QStringLiteral("Verify"));
    DifferencesDialog* differences = window().differences().dialog();
    QVERIFY(differences && differences->isVisible());
    texts.addWindow(differences);
    QCOMPARE(differences->windowTitle(), QStringLiteral("Verify : List of Differences"));
    controls().mnuBlankCheck->trigger();
    status(QStringLiteral("Blank Check"));
    m_dialogs.messageAnswers = {MessageAnswer::Ok};
    controls().mnuErase->trigger();
    status(QStringLiteral("Erase"));
    click(controls().Cmd_WRITE_single);
    status(QStringLiteral("Byte Write"));
    controls().Text_modify_hex->setText(QStringLiteral("5A"));
    m_dialogs.messageAnswers = {MessageAnswer::No};
    click(controls().Command1);  // the edit is kept: the question only
    pointPortAt(QStringLiteral("/dev/no-such-board"));
    click(controls().Cmd_READ_single);
    status(QStringLiteral("port unusable"));

    // The go-to prompt and its refusal.
    m_dialogs.textAnswers = {TextInputResult{true, QStringLiteral("zz")}};
    controls().mnuGoTo->trigger();
    // Files: dialogs cancelled, a file that holds more than the part, one that is gone.
    controls().mnuFileOpen->trigger();
    status(QStringLiteral("open cancelled"));
    click(controls().Cmd_SaveAs);
    status(QStringLiteral("save cancelled"));
    controls().mnuFileCompare->trigger();
    status(QStringLiteral("compare cancelled"));
    const QString bigger = m_environment->configFolder() + QStringLiteral("/bigger.bin");
    writeFile(bigger, QByteArray(300, '\x11'));
    window().openFileFromOutside(bigger);
    status(QStringLiteral("file loaded"));
    QFile::remove(bigger);
    controls().mnuFileRecent->actions().constFirst()->trigger();
    m_dialogs.messageAnswers = {MessageAnswer::Yes};
    controls().mnuBufferClear->trigger();
    status(QStringLiteral("buffer cleared"));
    // Help without a manual, the listing without a viewer, and the support page.
    controls().mnuHelpContents->trigger();
    m_desktop.succeed = false;
    controls().mnuOutPutTextFile->trigger();
    controls().mnuHelpAbout->trigger();
    auxiliary.aboutWindow()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    controls().mnuLanguageEn->trigger();
    // frmCom with a device that is there and numbers that lead nowhere, a board search that
    // finds nothing, and the device list with and without devices.
    {
        std::unique_ptr<FrmCom> frmCom = portWindow();
        texts.addWindow(frmCom.get());
        m_dialogs.messageAnswers = {MessageAnswer::Ok};
        frmCom->Cmd_DetectBoard_Click();
        texts.addWindow(frmCom.get());
        QCOMPARE(frmCom->windowTitle(), QStringLiteral("Port Settings"));
    }
    FrmPortDevice list(1, m_devices.present(), {QStringLiteral("minicom (PID 7)")}, QString());
    texts.addWindow(&list);
    FrmPortDevice empty(2, {}, {}, QString());
    texts.addWindow(&empty);

    texts.addWindow(&window());
    texts.add(QStringLiteral("grid corner"),
              window().imageView().cellText(GridAddress::kHeaderRow, GridAddress::kLabelColumn));
    for (const MessageBoxRequest& message : m_dialogs.messages) texts.addMessage(message);
    for (const FileDialogRequest& request : m_dialogs.fileDialogs) {
        texts.add(QStringLiteral("file dialog title"), request.title);
        texts.add(QStringLiteral("file dialog filter"), request.filter);
    }
    for (const TextInputRequest& request : m_dialogs.textInputs) {
        texts.add(QStringLiteral("prompt title"), request.title);
        texts.add(QStringLiteral("prompt"), request.label);
    }

    QVERIFY2(m_dialogs.messages.size() >= 9,
             qPrintable(QString::number(m_dialogs.messages.size())));
    QVERIFY2(texts.size() > 150, qPrintable(QString::number(texts.size())));
    for (const QString& english :
         {QStringLiteral("&File"), QStringLiteral("Block Access (Start Address 0)"),
          QStringLiteral("Please wait."), QStringLiteral("Pin 1 at the top"),
          QStringLiteral("Go to Support Home Page"), QStringLiteral("Address"),
          QStringLiteral("Go to Address"), QStringLiteral("The PC buffer has been cleared."),
          QStringLiteral("The selected port could not be used."),
          QStringLiteral("The edited data has not been saved. Discard it?"),
          QStringLiteral("Device for Port 1"), QStringLiteral("No board was found.")}) {
        QVERIFY2(texts.contains(english), qPrintable(english));
    }
    const QStringList japanese = texts.japanese();
    QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(QLatin1Char('\n'))));
}

void EnglishWindowTest::englishTextsFitTheirControls()
{
    EmulatedBoard& board = addBoard(QStringLiteral("24C02"), 5);
    pointPortAt(board);
    QVERIFY(start());
    selectDevice(QStringLiteral("24C02"));
    QCoreApplication::processEvents();
    QStringList cut = cutTexts(&window());
    // The list of differences after a verify that found some.
    click(controls().Cmd_VERIFY_all);
    QCoreApplication::processEvents();
    cut += cutTexts(window().differences().dialog());
    cut += cutTexts(m_startup->auxiliaryWindows()->boardWindow());
    controls().mnuHelpAbout->trigger();
    AboutWindow* about = m_startup->auxiliaryWindows()->aboutWindow();
    QCoreApplication::processEvents();
    cut += cutTexts(about);
    SplashWindow* splash = m_startup->splashWindow();
    splash->show();
    QCoreApplication::processEvents();
    cut += cutTexts(splash);
    splash->hide();
    cut += cutTexts(portWindow().get());
    FrmPortDevice list(1, m_devices.present(), {QString()}, QString());
    list.show();
    QCoreApplication::processEvents();
    cut += cutTexts(&list);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void EnglishWindowTest::languageMenuStoresTheChoiceForTheNextStart_data()
{
    QTest::addColumn<QString>("stored");  // before; empty: never chosen
    QTest::addColumn<QString>("chosen");  // "ja" or "en"
    QTest::addColumn<bool>("told");       // the message that it applies at the next start
    QTest::newRow("English from the default") << QString() << "en" << true;
    QTest::newRow("Japanese again") << "en"
                                    << "ja" << true;
    QTest::newRow("the stored one again") << "en"
                                          << "en" << false;
    QTest::newRow("Japanese as the default") << QString() << "ja" << false;
    QTest::newRow("a stored value not understood") << "fr"
                                                   << "en" << true;
}

void EnglishWindowTest::languageMenuStoresTheChoiceForTheNextStart()
{
    QFETCH(QString, stored);
    QFETCH(QString, chosen);
    QFETCH(bool, told);
    SettingsStore settings;
    if (!stored.isEmpty()) settings.save(kSettings6, kLanguage, stored);
    m_language.reset();  // the stored choice decides
    QVERIFY(start());
    const bool english = stored == u"en";
    QCOMPARE(controls().mnuLanguageEn->isChecked(), english);
    QCOMPARE(controls().mnuLanguageJa->isChecked(), !english);
    QCOMPARE(controls().mnuFile->title(),
             english ? QStringLiteral("&File") : QStringLiteral("ファイル(&F)"));

    (chosen == u"en" ? controls().mnuLanguageEn : controls().mnuLanguageJa)->trigger();
    QCOMPARE(controls().mnuLanguageEn->isChecked(), chosen == u"en");
    QCOMPARE(controls().mnuLanguageJa->isChecked(), chosen == u"ja");
    QCOMPARE(m_dialogs.messages.size(), told ? 1 : 0);
    if (told) {
        QCOMPARE(m_dialogs.messages.first().text,
                 english ? QStringLiteral("The language setting takes effect the next time the "
                                          "program is started.")
                         : QStringLiteral("言語の設定は次回の起動から使われます。"));
        QCOMPARE(settings.get(kSettings6, kLanguage, QString()), chosen);
    }
    // The running window keeps its language.
    QCOMPARE(controls().mnuFile->title(),
             english ? QStringLiteral("&File") : QStringLiteral("ファイル(&F)"));
}

void EnglishWindowTest::contentsOpenTheManualOfTheLanguage_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("page");
    QTest::newRow("Japanese") << false << "help/index.html";
    QTest::newRow("English") << true << "help/en/index.html";
}

// Stand-in pages in the program folder: the one of the chosen language opens.
void EnglishWindowTest::contentsOpenTheManualOfTheLanguage()
{
    QFETCH(bool, english);
    QFETCH(QString, page);
    const QString folder = m_environment->appFolder();
    QDir(folder).mkpath(QStringLiteral("help/en"));
    for (const char* name :
         {"help/index.html", "help/en/index.html", "help/support.html", "help/en/support.html"}) {
        writeFile(folder + QLatin1String(name), "<html></html>");
    }
    if (!english) m_language = UiLanguage::Japanese;
    QVERIFY(start());
    controls().mnuHelpContents->trigger();
    QCOMPARE(m_desktop.openedFiles, QStringList{folder + page});
    controls().mnuHelpAbout->trigger();
    AboutWindow* about = m_startup->auxiliaryWindows()->aboutWindow();
    const QString support = folder + QFileInfo(page).path() + QStringLiteral("/support.html");
    QVERIFY2(about->findChild<QLabel*>(QStringLiteral("lblDisclaimer"))->text().endsWith(support),
             qPrintable(support));
    about->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCOMPARE(m_desktop.openedFiles.last(), support);
    QVERIFY(m_dialogs.messages.isEmpty());
}

// English asked for where no translation is installed: the window comes up in Japanese.
void EnglishWindowTest::missingTranslationLeavesTheWindowJapanese()
{
    QDir(m_environment->appFolder() + QStringLiteral("translations")).removeRecursively();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no translation"));
    QVERIFY(start());
    QCOMPARE(controls().mnuFile->title(), QStringLiteral("ファイル(&F)"));
    QCOMPARE(controls().Frame2->title(), QStringLiteral("ﾌﾞﾛｯｸｱｸｾｽ(開始ｱﾄﾞﾚｽ0)"));
}

QTEST_MAIN(EnglishWindowTest)
#include "tst_english_window.moc"
