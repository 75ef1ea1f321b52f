// Edits that are in no file and on no chip are never thrown away without a question: the
// real main window, an edited byte, and each command that would replace the image.
#include "base/SettingsStore.h"
#include "files/IntelHexWriter.h"
#include "files/gui/ImageFileCommands.h"
#include "image/gui/ImageView.h"
#include "support/WindowOnBoards.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

namespace {

const QString k24C02 = QStringLiteral("24C02");
const QString kQuestion = QStringLiteral("編集したデータは保存されていません。破棄しますか？");

}  // namespace

class TestUnsavedImage : public QObject, protected WindowOnBoards {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { tearDown(); }

    void replacingAnEditedImageAsksFirst_data();
    void replacingAnEditedImageAsksFirst();
    void keptImagesAskNothing();
    void theDeviceListTakesTheWheelOnlyWithFocus();

private:
    // Changes the byte at address 0 in the byte editor.
    void editFirstByte();
    [[nodiscard]] int questions() const;
    // Runs the command of `name` on the window.
    void command(const QString& name);

    EmulatedBoard* m_board = nullptr;
    QString m_file;
};

void TestUnsavedImage::init()
{
    setUp();
    m_board = &addBoard(k24C02, 0x40);
    pointPortAt(*m_board);
    QVERIFY(start());
    selectDevice(k24C02);
    m_file = m_environment->configFolder() + QStringLiteral("/image.hex");
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(intelHexText(QByteArray(256, '\x11')));
}

void TestUnsavedImage::editFirstByte()
{
    window().imageView().setCurrentCell(1, 1);
    controls().Text_modify_hex->setText(QStringLiteral("A5"));
    QCOMPARE(static_cast<quint8>(image().at(0)), 0xA5);
}

int TestUnsavedImage::questions() const
{
    int count = 0;
    for (const MessageBoxRequest& message : m_dialogs.messages) {
        if (message.text == kQuestion) ++count;
    }
    return count;
}

void TestUnsavedImage::command(const QString& name)
{
    if (name == QLatin1String("device")) {
        controls().Combo_device->setCurrentIndex(controls().Combo_device->currentIndex() + 1);
    } else if (name == QLatin1String("buffer clear")) {
        controls().mnuBufferClear->trigger();
    } else if (name == QLatin1String("file")) {
        window().imageFileCommands().loadFile(m_file);
    } else if (name == QLatin1String("Block Read")) {
        click(controls().Cmd_READ_all);
    } else if (name == QLatin1String("close")) {
        window().close();
    }
}

void TestUnsavedImage::replacingAnEditedImageAsksFirst_data()
{
    QTest::addColumn<QString>("command");
    for (const char* name : {"device", "buffer clear", "file", "Block Read", "close"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

// No (the default) keeps the edited image, device and window; Yes lets the command go on.
void TestUnsavedImage::replacingAnEditedImageAsksFirst()
{
    QFETCH(QString, command);
    const int device = controls().Combo_device->currentIndex();
    editFirstByte();
    const QByteArray edited = image();

    this->command(command);
    QCOMPARE(questions(), 1);
    const MessageBoxRequest& question = m_dialogs.messages.last();
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(image(), edited);
    QCOMPARE(controls().Combo_device->currentIndex(), device);
    QVERIFY(window().isVisible());

    QSignalSpy unloaded(&window(), &MainWindow::unloaded);
    m_dialogs.messageAnswers.append(MessageAnswer::Yes);
    this->command(command);
    QCOMPARE(questions(), 2);
    if (command == QLatin1String("close")) {
        QCOMPARE(unloaded.size(), 1);
    } else if (command == QLatin1String("device")) {
        QCOMPARE(controls().Combo_device->currentIndex(), device + 1);
    } else {
        QVERIFY(image() != edited);
    }
}

// An image that a file or the chip holds too goes without a question; a Byte Read makes the
// image unsaved again, like an edit.
void TestUnsavedImage::keptImagesAskNothing()
{
    editFirstByte();
    const QString saved = m_environment->configFolder() + QStringLiteral("/saved.hex");
    m_dialogs.fileAnswers.append(FakeUserDialogs::chosen(saved));
    controls().mnuFileSaveAs->trigger();
    QVERIFY(QFile::exists(saved));
    click(controls().Cmd_READ_all);
    QCOMPARE(image(), m_board->contents());
    window().imageFileCommands().loadFile(m_file);
    QCOMPARE(image(), QByteArray(256, '\x11'));
    controls().mnuBufferClear->trigger();
    QCOMPARE(questions(), 0);

    window().imageView().setCurrentCell(1, 2);
    click(controls().Cmd_READ_single);
    controls().mnuBufferClear->trigger();
    QCOMPARE(questions(), 1);
}

void TestUnsavedImage::theDeviceListTakesTheWheelOnlyWithFocus()
{
    QComboBox* list = controls().Combo_device;
    const int device = list->currentIndex();
    const auto turn = [list] {
        const QPointF at(list->width() / 2.0, list->height() / 2.0);
        QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
    };
    // The insertion-direction window takes the activation at start-up.
    QApplication::setActiveWindow(&window());
    controls().MSFGrid1->setFocus();
    turn();
    QCOMPARE(list->currentIndex(), device);
    list->setFocus();
    QVERIFY(list->hasFocus());
    turn();
    QCOMPARE(list->currentIndex(), device + 1);
}

QTEST_MAIN(TestUnsavedImage)
#include "tst_unsaved_image.moc"
