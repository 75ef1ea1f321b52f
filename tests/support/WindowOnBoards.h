#pragma once

#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "support/EmulatedBoards.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeLinkClock.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"

#include <QHash>
#include <QPushButton>

#include <memory>
#include <optional>

// The real main window on emulated boards in fake time: boards at device paths, port 1 pointed
// at one of them, and the window started with the emulated port and clock (or, for the tests
// that prove the wiring, with the program's own serial port).
class WindowOnBoards {
protected:
    // Every address gets a value that also depends on its upper address bits, so a transfer
    // that loses A8..A16 shows.
    [[nodiscard]] static QByteArray pattern(qint64 size, int seed);

    // Fresh settings, clock and boards; port 1 is the port the window uses.
    void setUp();
    void tearDown();

    // A board at its own device path, its part filled with pattern(size, seed).
    EmulatedBoard& addBoard(const QString& device, int seed, const QStringList& faults = {},
                            const QString& firmware = QStringLiteral("6.00"));
    [[nodiscard]] bool start(bool emulated = true);
    void pointPortAt(const QString& path);
    void pointPortAt(const EmulatedBoard& board) { pointPortAt(m_paths.value(&board)); }
    // Selects the part in the device list and the largest access size.
    void selectDevice(const QString& name);
    static void click(QPushButton* button);
    // Lets the boards finish what they were doing (the last page's programming).
    void settle();

    [[nodiscard]] MainWindow& window() { return *m_startup->mainWindow(); }
    [[nodiscard]] MainWindowControls& controls() { return window().controls(); }
    [[nodiscard]] QString panel(int number) { return window().statusPanels().text(number); }
    [[nodiscard]] QByteArray image() const { return m_startup->state().image.bytes(); }

    std::unique_ptr<TestEnvironment> m_environment;
    FakeUserDialogs m_dialogs;
    FakeDesktopOpener m_desktop;
    std::unique_ptr<FakeLinkClock> m_clock;
    std::unique_ptr<EmulatedBoards> m_boards;
    std::unique_ptr<EmulatedPort> m_port;
    QHash<const EmulatedBoard*, QString> m_paths;
    std::unique_ptr<Startup> m_startup;
    std::optional<UiLanguage> m_language;  // as --lang gives it; none: the stored choice
    LinkFactory* m_links = nullptr;        // the production window's boards; none: the system's
};
