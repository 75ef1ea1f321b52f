#include "support/WindowOnBoards.h"

#include "base/SettingsStore.h"
#include "link/PortDevices.h"

#include <QComboBox>
#include <QTest>

using namespace SettingsKeys;
using namespace std::chrono_literals;

QByteArray WindowOnBoards::pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i + (i >> 8) * 3 + (i >> 16) * 11 + seed) & 0xFF);
    }
    return bytes;
}

void WindowOnBoards::setUp()
{
    m_environment = std::make_unique<TestEnvironment>();
    m_dialogs = FakeUserDialogs();
    m_desktop = FakeDesktopOpener();
    m_clock = std::make_unique<FakeLinkClock>();
    m_boards = std::make_unique<EmulatedBoards>(*m_clock);
    m_port = std::make_unique<EmulatedPort>(*m_boards);
    m_paths.clear();
    SettingsStore settings;
    settings.save(kSettings, kComNo, QStringLiteral("0"));
}

void WindowOnBoards::tearDown()
{
    m_startup.reset();
    m_port.reset();
    m_boards.reset();
    m_clock.reset();
    m_environment.reset();
}

EmulatedBoard& WindowOnBoards::addBoard(const QString& device, int seed, const QStringList& faults,
                                        const QString& firmware)
{
    const QString path = QStringLiteral("/dev/board%1").arg(m_paths.size());
    EmulatedBoard& board =
        m_boards->add(path, EmulatedBoards::part(device), EmulatedBoards::faults(faults, firmware));
    board.setContents(pattern(board.part().size(), seed));
    m_paths.insert(&board, path);
    return board;
}

bool WindowOnBoards::start(bool emulated)
{
    Startup::Environment environment{m_environment->appFolder(), m_environment->lockFilePath(),
                                     &m_dialogs, &m_desktop};
    if (emulated) {
        environment.port = m_port.get();
        environment.clock = m_clock.get();
    }
    environment.language = m_language;
    environment.links = m_links;
    m_startup = std::make_unique<Startup>(environment);
    return m_startup->run() && m_startup->mainWindow();
}

void WindowOnBoards::pointPortAt(const QString& path)
{
    SettingsStore settings;
    settings.save(kPorts, portKey(1), path);
}

void WindowOnBoards::selectDevice(const QString& name)
{
    const int index =
        controls().Combo_device->findText(name + QLatin1Char(' '), Qt::MatchStartsWith);
    QVERIFY2(index >= 0, qPrintable(name));
    controls().Combo_device->setCurrentIndex(index);
    QVERIFY(m_startup->state().selectedDevice.has_value());
    controls().CmbSize->setCurrentIndex(controls().CmbSize->count() - 1);
}

void WindowOnBoards::click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void WindowOnBoards::settle() { m_clock->advance(1s); }
